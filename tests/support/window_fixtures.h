#pragma once
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QStatusBar>
#include <QString>
#include <QTest>
#include <functional>
#include <memory>
#include <vector>

#include "app/tulmera_app.h"
#include "export/workbook.h"
#include "support/find_child.h"
#include "support/work_dir.h"
#include "textio/error.h"

// What the window tests make afresh for each test: one window of a kind, or the whole program
// from its splash, each in a new working directory (the windows write their files by bare name).
// A Qt Test class holds one as a member, opens it in init() and closes it in cleanup().
namespace tulmera::testing {

// Delivers the deletions that closed windows posted (deleteLater), as the event loop would.
inline void DeliverDeferredDeletes()
{
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// One window of the kind `Window` (app::MainWindow, app::LeafSweepWindow), not yet shown.
template <typename Window>
class WindowFixture {
public:
    void Open()
    {
        dir_ = std::make_unique<ScopedWorkDir>();
        window_ = std::make_unique<Window>();
    }
    // A new window in the same directory, the old one closed first (what it remembers in the
    // settings it has written by then).
    void Reopen()
    {
        window_.reset();
        window_ = std::make_unique<Window>();
    }
    void Close()  // the window first: it may still write into its directory
    {
        window_.reset();
        dir_.reset();
    }

    Window* window() const { return window_.get(); }
    ScopedWorkDir& dir() const { return *dir_; }
    // The window's control named `name` (see FindChild).
    template <typename T>
    T* Find(const QString& name) const
    {
        return FindChild<T>(window_.get(), name);
    }
    QString Status() const { return window_->statusBar()->currentMessage(); }

private:
    std::unique_ptr<ScopedWorkDir> dir_;
    std::unique_ptr<Window> window_;
};

// The whole program (app::TulmeraApp), started: its splash shown. The workbooks its exports
// would open are recorded instead, or refused as when no program of the desktop can show one;
// the times it asks to end the program are counted.
class ProgramFixture {
public:
    void Start()
    {
        dir_ = std::make_unique<ScopedWorkDir>();
        workbooks_.clear();
        viewerMissing_ = false;
        ends_ = 0;
        app_ = std::make_unique<app::TulmeraApp>(
            [this](const exports::Workbook& workbook) {
                if (viewerMissing_) {
                    throw Error("No program could be started to show \"/tmp/tulmera-x.xlsx\".");
                }
                workbooks_.push_back(workbook);
            },
            [this] { ++ends_; });
        app_->Start();
    }
    void Stop()
    {
        app_.reset();
        DeliverDeferredDeletes();
        dir_.reset();
    }

    // Clicks the splash's picture, as the user does to enter the main window.
    void Enter()
    {
        QTest::mouseClick(FindChild<QLabel>(app_->splash(), QStringLiteral("Image2")),
                          Qt::LeftButton);
        DeliverDeferredDeletes();
    }

    app::TulmeraApp& app() const { return *app_; }
    ScopedWorkDir& dir() const { return *dir_; }
    const std::vector<exports::Workbook>& workbooks() const { return workbooks_; }
    int ends() const { return ends_; }
    // From now on every workbook shown fails as when no spreadsheet program is installed.
    void SetViewerMissing(bool missing) { viewerMissing_ = missing; }

private:
    std::unique_ptr<ScopedWorkDir> dir_;
    std::vector<exports::Workbook> workbooks_;  // every export shown, in order
    bool viewerMissing_ = false;
    int ends_ = 0;
    std::unique_ptr<app::TulmeraApp> app_;
};

}  // namespace tulmera::testing
