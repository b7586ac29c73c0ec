#include "app/windows/leaf_model_rows.h"

#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <cmath>

#include "app/widgets/controls.h"
#include "app/widgets/parameter_tips.h"
#include "app/widgets/value_messages.h"
#include "domain/input_domain.h"
#include "leaf/leaf_models.h"
#include "multi/parameter_rows.h"

namespace tulmera::app {
namespace {

// One row: the parameter, its bar (in bar units: value × divisor; the multiple-simulation
// window's rows for these parameters share it) and whether PROSPECT-D has it (PRO has every row).
struct ExtraRow {
    domain::Input input;
    double leaf::LeafParameters::*value;
    widgets::ScrollRange bar;
    double divisor;
    bool inProspectD;
};

constexpr ExtraRow Row(std::size_t i, domain::Input input, double leaf::LeafParameters::*value,
                       bool inProspectD)
{
    const multi::ParameterRow& row = multi::kModelParameterRows[i];
    return {input, value, row.bar, static_cast<double>(row.divisor), inProspectD};
}

constexpr std::array<ExtraRow, 5> kExtraRows = {{
    Row(0, domain::Input::Car, &leaf::LeafParameters::Car, true),
    Row(1, domain::Input::Anth, &leaf::LeafParameters::Anth, true),
    Row(2, domain::Input::Cbrown, &leaf::LeafParameters::Cbrown, true),
    Row(3, domain::Input::Prot, &leaf::LeafParameters::Prot, false),
    Row(4, domain::Input::CBC, &leaf::LeafParameters::CBC, false),
}};

// The captions, translated where shown (the Spanish source texts are the program's own).
const char* Caption(std::size_t i)
{
    constexpr std::array<const char*, 5> kCaptions = {
        QT_TRANSLATE_NOOP("tulmera::app::LeafModelRows", "Carotenoides (Car)"),
        QT_TRANSLATE_NOOP("tulmera::app::LeafModelRows", "Antocianos (Anth)"),
        QT_TRANSLATE_NOOP("tulmera::app::LeafModelRows", "Pigmentos pardos (Cbrown)"),
        QT_TRANSLATE_NOOP("tulmera::app::LeafModelRows", "Proteínas (Prot)"),
        QT_TRANSLATE_NOOP("tulmera::app::LeafModelRows", "Otros constituyentes de carbono (CBC)"),
    };
    return kCaptions[i];
}

QString Indexed(const char* name, std::size_t index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

}  // namespace

double LeafModelRows::BarLowest(int i)
{
    const ExtraRow& row = kExtraRows[static_cast<std::size_t>(i)];
    return row.bar.min / row.divisor;
}

double LeafModelRows::BarHighest(int i)
{
    const ExtraRow& row = kExtraRows[static_cast<std::size_t>(i)];
    return row.bar.max / row.divisor;
}

LeafModelRows::LeafModelRows(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("leafModelRows"));
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(0, 0, 0, 0);
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        const ExtraRow& row = kExtraRows[i];
        captions_[i] = new QLabel(this);
        captions_[i]->setObjectName(Indexed("lblProspectD", i));
        bars_[i] =
            widgets::MakeScrollBar(Qt::Horizontal, Indexed("hsbProspectD", i), row.bar, this);
        boxes_[i] = new QLineEdit(this);
        boxes_[i]->setObjectName(Indexed("txtProspectD", i));
        boxes_[i]->setFixedWidth(
            boxes_[i]->fontMetrics().horizontalAdvance(QStringLiteral("-0.00000")) + 16);
        boxes_[i]->setAlignment(Qt::AlignRight);
        const int gridRow = 2 * static_cast<int>(i);
        grid->addWidget(captions_[i], gridRow, 0, 1, 2);
        grid->addWidget(bars_[i], gridRow + 1, 0);
        grid->addWidget(boxes_[i], gridRow + 1, 1);
        connect(bars_[i], &QScrollBar::valueChanged, this, [this, i] {
            emit Accepted(boxes_[i]);
            ShowBarValues();
            emit Changed();
        });
        connect(boxes_[i], &QLineEdit::editingFinished, this, [this, i] { ApplyBox(i); });
        // Tab goes from each bar to its box, then to the next row's bar.
        if (i > 0) setTabOrder(boxes_[i - 1], bars_[i]);
        setTabOrder(bars_[i], boxes_[i]);
    }
    Translate();
    ShowBarValues();
    ShowModel(leaf::LeafModel::Classic);
}

void LeafModelRows::Translate()
{
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        captions_[i]->setText(tr(Caption(i)));
        const QString tip = widgets::ParameterTip(
            kExtraRows[i].input, BarLowest(static_cast<int>(i)), BarHighest(static_cast<int>(i)));
        for (QWidget* control : {static_cast<QWidget*>(captions_[i]),
                                 static_cast<QWidget*>(bars_[i]), static_cast<QWidget*>(boxes_[i])})
            control->setToolTip(tip);
    }
}

void LeafModelRows::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange) Translate();
    QWidget::changeEvent(event);
}

void LeafModelRows::ShowModel(leaf::LeafModel model)
{
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        const bool shown = model == leaf::LeafModel::ProspectPro
                           || (model == leaf::LeafModel::ProspectD && kExtraRows[i].inProspectD);
        captions_[i]->setVisible(shown);
        bars_[i]->setVisible(shown);
        boxes_[i]->setVisible(shown);
    }
    setVisible(model != leaf::LeafModel::Classic);
}

void LeafModelRows::ShowValues(const leaf::LeafParameters& p)
{
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        const ExtraRow& row = kExtraRows[i];
        const long position = std::lround(p.*row.value * row.divisor);
        const QSignalBlocker block(bars_[i]);
        bars_[i]->setValue(
            static_cast<int>(std::clamp(position, long{row.bar.min}, long{row.bar.max})));
    }
    ShowBarValues();
}

void LeafModelRows::ReadInto(leaf::LeafParameters& p) const
{
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        const ExtraRow& row = kExtraRows[i];
        const bool read = leaf::ModelHasParameter(p.model, domain::OptionName(row.input));
        p.*row.value = read ? bars_[i]->value() / row.divisor : 0.0;
    }
}

void LeafModelRows::ShowBarValues()
{
    for (std::size_t i = 0; i < kExtraRows.size(); ++i) {
        boxes_[i]->setText(widgets::ValueText(bars_[i]->value() / kExtraRows[i].divisor));
    }
}

// A typed value moves its bar to the nearest position (and says so when rounded), or is refused
// when it is no number or outside the bar, as the classic rows do.
void LeafModelRows::ApplyBox(std::size_t i)
{
    const ExtraRow& row = kExtraRows[i];
    const QString text = boxes_[i]->text();
    const std::optional<double> typed = widgets::ParseValueText(text);
    const QString name = widgets::ControlName(captions_[i]->text());
    const double lowest = BarLowest(static_cast<int>(i));
    const double highest = BarHighest(static_cast<int>(i));
    if (!typed || !(*typed >= lowest && *typed <= highest)) {
        ShowBarValues();
        const QString reason = typed ? widgets::OutsideRange(name, *typed, {lowest, highest})
                                     : widgets::NotANumber(name, text);
        emit Refused(boxes_[i], reason);
        emit Problems({reason});
        return;
    }
    emit Accepted(boxes_[i]);
    const int position = static_cast<int>(std::lround(*typed * row.divisor));
    const double used = position / row.divisor;
    if (position != bars_[i]->value()) bars_[i]->setValue(position);  // emits Changed
    ShowBarValues();
    if (used != *typed) emit Problems({widgets::Rounded(name, *typed, used)});
}

}  // namespace tulmera::app
