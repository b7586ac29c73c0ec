#pragma once
#include <QString>
#include <utility>
#include <vector>

class QLabel;
class QLineEdit;
class QWidget;

// Refused typed values, said where the user looks: the box that refused a value gets a red
// frame, and a note beside the boxes says why in full (no tooltip needed), one sentence per
// marked box. A box's mark goes when it takes a good value.
namespace tulmera::widgets {

// Marks `box` with a red frame (the dynamic property "refused", styled by the box's own style
// sheet, so that it scales with the screen) or clears the mark.
void MarkRefused(QLineEdit* box, bool refused);

// True while `box` carries the mark.
bool IsMarkedRefused(const QLineEdit* box);

class RefusalMarks {
public:
    // Makes the note (object name `noteName`, red, word-wrapped, hidden while no box is
    // marked) as a child of `parent`; the caller lays it out beside the boxes.
    RefusalMarks(const QString& noteName, QWidget* parent);

    QLabel* note() const { return note_; }

    // Marks `box` and shows `reason` for it (replacing an earlier reason of that box); a null
    // `box` is a reason of no single box (the values together), shown until Clear().
    void Refuse(QLineEdit* box, const QString& reason);

    // `box` holds a good value again: its mark and its reason go.
    void Accept(QLineEdit* box);

    // Every mark and reason go (the controls were all set anew).
    void Clear();

private:
    void ShowNote();

    QLabel* note_;
    std::vector<std::pair<QLineEdit*, QString>> reasons_;  // in the order of the refusals
};

}  // namespace tulmera::widgets
