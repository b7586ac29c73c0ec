#include "app/widgets/refusal_marks.h"

#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <algorithm>

namespace tulmera::widgets {
namespace {

constexpr const char* kRefusedProperty = "refused";

// Only a marked box matches; an unmarked one keeps the look of its style. Pixels here are
// device-independent, so the frame keeps its weight at any screen scale.
const QString kRefusedStyle = QStringLiteral(
    "QLineEdit[refused=\"true\"] { border: 2px solid #c62828; border-radius: 2px; "
    "background: #fff3f3; padding: 0px 1px; }");

}  // namespace

void MarkRefused(QLineEdit* box, bool refused)
{
    if (box->styleSheet().isEmpty()) box->setStyleSheet(kRefusedStyle);
    if (box->property(kRefusedProperty).toBool() == refused) return;
    box->setProperty(kRefusedProperty, refused);
    // A style sheet reads dynamic properties when the widget is polished.
    box->style()->unpolish(box);
    box->style()->polish(box);
    box->update();
}

bool IsMarkedRefused(const QLineEdit* box) { return box->property(kRefusedProperty).toBool(); }

RefusalMarks::RefusalMarks(const QString& noteName, QWidget* parent) : note_(new QLabel(parent))
{
    note_->setObjectName(noteName);
    note_->setWordWrap(true);
    note_->setTextFormat(Qt::PlainText);
    note_->setStyleSheet(QStringLiteral("QLabel { color: #b71c1c; }"));
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    note_->hide();
}

void RefusalMarks::Refuse(QLineEdit* box, const QString& reason)
{
    if (box != nullptr) MarkRefused(box, true);
    const auto found = std::find_if(reasons_.begin(), reasons_.end(),
                                    [box](const auto& entry) { return entry.first == box; });
    if (found != reasons_.end()) {
        found->second = reason;
    } else {
        reasons_.emplace_back(box, reason);
    }
    ShowNote();
}

void RefusalMarks::Accept(QLineEdit* box)
{
    MarkRefused(box, false);
    std::erase_if(reasons_, [box](const auto& entry) { return entry.first == box; });
    ShowNote();
}

void RefusalMarks::Clear()
{
    for (const auto& entry : reasons_) {
        if (entry.first != nullptr) MarkRefused(entry.first, false);
    }
    reasons_.clear();
    ShowNote();
}

void RefusalMarks::ShowNote()
{
    QStringList lines;
    for (const auto& entry : reasons_) lines << entry.second;
    note_->setText(lines.join(QLatin1Char('\n')));
    note_->setVisible(!lines.isEmpty());
}

}  // namespace tulmera::widgets
