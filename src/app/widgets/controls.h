#pragma once
#include <QScrollBar>
#include <QString>
#include <QStringList>
#include <functional>
#include <initializer_list>
#include <optional>

#include "multi/parameter_rows.h"
#include "textio/number_text.h"

class QStatusBar;
class QWidget;

// Small helpers shared by the windows.
namespace tulmera::widgets {

// The range and steps of a scroll bar, in its own 16-bit units: the record both windows' row
// tables use.
using ScrollRange = multi::ScrollSetup;

// A scroll bar that reports a value change only once the user has set the value (arrow, page
// area, keyboard, or release of a dragged thumb): dragging alone changes nothing.
QScrollBar* MakeScrollBar(Qt::Orientation orientation, const QString& name,
                          const ScrollRange& range, QWidget* parent);

// A vertical scroll bar whose top is its largest value (the sweep limits). Qt draws a bar's
// minimum at the top, so the bar holds the negated value: arrows, page clicks, keys, the wheel
// and dragging then all move the thumb towards the value they set. Read and set it through
// DescendingValue(), never value().
class DescendingScrollBar : public QScrollBar {
    Q_OBJECT
public:
    DescendingScrollBar(const QString& name, QWidget* parent);

    // `largest` at the top, `smallest` at the bottom.
    void SetUp(int largest, int smallest, int smallChange, int largeChange, int value);
    int DescendingValue() const { return -value(); }
    void SetDescendingValue(int v) { setValue(-v); }

signals:
    void DescendingValueChanged(int value);  // once the user has set a value, as valueChanged
};

// The number text of a value shown in a control or a result line (textio::NumberText,
// locale-independent: "12.5", "0.0001"), rounded to `significantDigits` (1 .. 17). Throws
// tulmera::Error for a value that is not finite.
QString ValueText(double value, int significantDigits = textio::kDoubleDigits);

// The value a control's text holds, read with the inverse of ValueText; nothing when the text
// is not one number.
std::optional<double> ParseValueText(const QString& text);

// Empties each of `fileNames` in order (opened for output and closed at once), going on after
// a failure. Returns the failures' messages, or an empty text when all were emptied.
QString EmptyFiles(std::initializer_list<const char*> fileNames);

// Runs `body`. If it throws, shows `spanishWhat` in the status line, with the error's own
// (technical, English) message in its tooltip, and returns false; the window stays usable.
bool Guarded(QStatusBar* status, const QString& spanishWhat, const std::function<void()>& body);

// Opens, without blocking, a warning box over `parent` (object name `name`, deleted when
// closed) saying `text` (Spanish) with `detail` (the technical reason, often English, naming
// the file and line) below it, so that the reason is read without hovering.
void OpenFailureBox(QWidget* parent, const QString& name, const QString& title, const QString& text,
                    const QString& detail);

// Shows short Spanish sentences in the status line: the first, followed by "(y N más)" when
// there are more; the tooltip holds every sentence in full and then `detail`, so that nothing
// is lost when the line is too narrow. An empty list clears the line and its tooltip.
void ShowProblems(QStatusBar* status, const QStringList& problems, const QString& detail = {});

}  // namespace tulmera::widgets
