#include "app/widgets/chart_readout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include "app/widgets/chart_panel.h"
#include "app/widgets/controls.h"
#include "plot/chart_readout.h"

namespace tulmera::widgets {

ChartReadout::ChartReadout(ChartView* view, int sampleCount, TextOf textOf)
    : QObject(view), view_(view), sampleCount_(sampleCount), textOf_(std::move(textOf))
{
    label_ = new QLabel(view);
    label_->setObjectName(view->objectName() + QStringLiteral("_lectura"));
    label_->setStyleSheet(
        QStringLiteral("QLabel { background: rgba(255, 255, 255, 220); border: 1px solid #a0a0a0; "
                       "padding: 1px 3px; }"));
    QFont small = label_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    label_->setFont(small);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
    label_->hide();
    y_ = (view->scale().top + view->scale().bottom) / 2;
    view->setMouseTracking(true);
    view->setFocusPolicy(Qt::StrongFocus);
    view->installEventFilter(this);
    connect(view, &ChartView::ImageChanged, this, &ChartReadout::Refresh);
}

QString ChartReadout::text() const { return index_ ? label_->text() : QString(); }

void ChartReadout::ShowAtPixel(double X, double Y)
{
    const plot::ChartScale shown = view_->DisplayedScale();
    const plot::ChartPoint point = plot::ChartPointAt(shown, X, Y);
    y_ = point.y;
    const std::optional<int> index = plot::NearestSample(point.x, sampleCount_);
    if (!index) {
        Hide();
        return;
    }
    ShowSample(*index);
}

void ChartReadout::ShowSample(int index)
{
    if (index < 0 || index >= sampleCount_) {
        Hide();
        return;
    }
    const QString text = textOf_(index, y_);
    if (text.isEmpty()) {
        Hide();
        return;
    }
    index_ = index;
    label_->setText(text);
    label_->adjustSize();
    PlaceLabel();
    label_->show();
    view_->SetCursorX(view_->frameWidth() + plot::PixelXOf(view_->DisplayedScale(), index));
}

void ChartReadout::Hide()
{
    index_.reset();
    label_->hide();
    label_->clear();
    view_->SetCursorX(std::nullopt);
}

void ChartReadout::Refresh()
{
    if (index_) ShowSample(*index_);
}

void ChartReadout::PlaceLabel()
{
    const int margin = view_->frameWidth() + 2;
    label_->move(view_->width() - margin - label_->width(), margin);
}

bool ChartReadout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != view_) return false;
    switch (event->type()) {
        case QEvent::MouseMove: {
            const QPointF at = static_cast<QMouseEvent*>(event)->position();
            ShowAtPixel(at.x() - view_->frameWidth(), at.y() - view_->frameWidth());
            break;
        }
        case QEvent::Leave:
            if (!view_->hasFocus()) Hide();
            break;
        case QEvent::FocusOut:
            Hide();
            break;
        case QEvent::Resize:
            Refresh();
            break;
        case QEvent::KeyPress: {
            const auto* key = static_cast<QKeyEvent*>(event);
            const int step = key->modifiers() & Qt::ShiftModifier ? 10 : 1;
            const int from = index_.value_or(0);
            int to = -1;
            if (key->key() == Qt::Key_Left) to = std::max(0, from - step);
            if (key->key() == Qt::Key_Right) to = std::min(sampleCount_ - 1, from + step);
            if (key->key() == Qt::Key_Home) to = 0;
            if (key->key() == Qt::Key_End) to = sampleCount_ - 1;
            if (to < 0) return false;
            ShowSample(to);
            return true;
        }
        default:
            break;
    }
    return false;
}

QString ReadoutWavelength(int index)
{
    return QStringLiteral("%1 nm").arg(spectral::WavelengthNm(index));
}

QString ReadoutPercent(double value) { return ValueText(value, 4) + QStringLiteral(" %"); }

QString FamilyReadoutText(int index, double y, const std::vector<const spectral::Spectrum*>& curves,
                          const std::vector<QString>& labels)
{
    const std::optional<std::size_t> nearest = plot::NearestCurve(curves, index, y);
    if (!nearest) return {};
    return ReadoutWavelength(index) + QStringLiteral("   ") + labels[*nearest]
           + QStringLiteral("   ")
           + ReadoutPercent((*curves[*nearest])[static_cast<std::size_t>(index)]);
}

}  // namespace tulmera::widgets
