#include "app/windows/quantity_texts.h"

#include "app/widgets/core_texts.h"
#include "multi/sweep_quantity.h"
#include "sensor/band_values.h"

namespace tulmera::app {

QString QuantityEntryText(std::string_view name)
{
    QString text = QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
    const auto quantity = multi::ParseSweepQuantity(name, true);
    if (quantity && quantity->kind == multi::SweepQuantity::Kind::Band) {
        const sensor::Band& band = quantity->sensor->bands[quantity->band];
        text += QStringLiteral(" (%1)").arg(
            widgets::BandRegionText(sensor::RegionName(sensor::RegionOf(band))));
    }
    return text;
}

}  // namespace tulmera::app
