#include "plot/chart_images.h"

#include <QBuffer>
#include <QByteArray>
#include <string_view>

#include "textio/error.h"
#include "textio/text_file.h"

namespace tulmera::plot {

std::string PngBytes(const QImage& image, const std::string& path)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG")) {
        throw Error("Cannot encode the chart image for \"" + path + "\" as PNG.");
    }
    return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

void SavePng(const QImage& image, const std::string& path)
{
    textio::ReplaceTextFile(path, PngBytes(image, path));
}

}  // namespace tulmera::plot
