#include "app/widgets/controls.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QScrollBar>
#include <QStatusBar>
#include <exception>

#include "textio/number_text.h"
#include "textio/text_file.h"

namespace tulmera::widgets {

QScrollBar* MakeScrollBar(Qt::Orientation orientation, const QString& name,
                          const ScrollRange& range, QWidget* parent)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(name);
    bar->setRange(range.min, range.max);
    bar->setSingleStep(range.smallChange);
    bar->setPageStep(range.largeChange);
    bar->setValue(range.value);
    bar->setTracking(false);  // valueChanged on release, not while the thumb is dragged
    bar->setFocusPolicy(Qt::StrongFocus);  // Tab reaches it; arrows and Page Up/Down move it
    return bar;
}

DescendingScrollBar::DescendingScrollBar(const QString& name, QWidget* parent)
    : QScrollBar(Qt::Vertical, parent)
{
    setObjectName(name);
    setTracking(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QScrollBar::valueChanged, this,
            [this](int negated) { emit DescendingValueChanged(-negated); });
}

void DescendingScrollBar::SetUp(int largest, int smallest, int smallChange, int largeChange,
                                int value)
{
    setRange(-largest, -smallest);
    setSingleStep(smallChange);
    setPageStep(largeChange);
    setValue(-value);
}

QString ValueText(double value, int significantDigits)
{
    return QString::fromStdString(textio::NumberText(value, significantDigits));
}

std::optional<double> ParseValueText(const QString& text)
{
    return textio::ParseNumberText(text.toStdString());
}

QString EmptyFiles(std::initializer_list<const char*> fileNames)
{
    QString failures;
    for (const char* file : fileNames) {
        try {
            textio::EmptyTextFile(file);
        } catch (const std::exception& e) {
            if (!failures.isEmpty()) failures += QStringLiteral("; ");
            failures += QString::fromUtf8(e.what());
        }
    }
    return failures;
}

bool Guarded(QStatusBar* status, const QString& spanishWhat, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {  // tulmera::Error and anything unexpected
        ShowProblems(status, {spanishWhat + QLatin1Char('.')}, QString::fromUtf8(e.what()));
        return false;
    }
}

void OpenFailureBox(QWidget* parent, const QString& name, const QString& title, const QString& text,
                    const QString& detail)
{
    auto* box = new QMessageBox(QMessageBox::Warning, title, text, QMessageBox::Ok, parent);
    box->setObjectName(name);
    box->setInformativeText(detail);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void ShowProblems(QStatusBar* status, const QStringList& problems, const QString& detail)
{
    if (problems.isEmpty()) {
        status->clearMessage();
        status->setToolTip(QString());
        return;
    }
    QString line = problems.front();
    if (problems.size() > 1)
        line += QCoreApplication::translate("tulmera::widgets::Messages", " (y %1 más)")
                    .arg(problems.size() - 1);
    QString full = problems.join(QLatin1Char('\n'));
    if (!detail.isEmpty())
        full +=
            QCoreApplication::translate("tulmera::widgets::Messages", "\n\nDetalles: ") + detail;
    status->setToolTip(full);
    status->showMessage(line);
}

}  // namespace tulmera::widgets
