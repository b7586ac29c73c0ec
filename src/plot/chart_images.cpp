#include "plot/chart_images.h"

#include <QBuffer>
#include <QByteArray>
#include <string_view>

#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::plot {

void SavePng(const QImage& image, const std::string& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        throw Error("Cannot encode the chart image for \"" + path + "\" as PNG.");
    }
    textio::ReplaceTextFile(
        path, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

}  // namespace tulmera::plot
