#include "features/plan/metafile.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

#include <cstring>

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

namespace qv::plan {

namespace {

MetafileSvg failed(const QString& path, const QString& why) {
    return {{},
            QStringLiteral("The drawing %1 could not be converted: %2").arg(QFileInfo(path).fileName(), why)};
}

MetafileSvg wmfToSvg(const QString& path, QByteArray data) {
    wmfAPI_Options options;
    std::memset(&options, 0, sizeof options);
    options.function = wmf_svg_function;
    wmfAPI* api = nullptr;
    const unsigned long flags =
        WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
    if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
        if (api) wmf_api_destroy(api);
        return failed(path, QStringLiteral("the WMF reader could not start"));
    }
    MetafileSvg result;
    wmfD_Rect bbox;
    unsigned int width = 0;
    unsigned int height = 0;
    if (wmf_mem_open(api, reinterpret_cast<unsigned char*>(data.data()), data.size()) != wmf_E_None ||
        wmf_scan(api, 0, &bbox) != wmf_E_None ||
        wmf_display_size(api, &width, &height, 96, 96) != wmf_E_None) {
        result = failed(path, QStringLiteral("it is not a readable Windows metafile"));
    } else {
        wmf_svg_t* svg = WMF_SVG_GetData(api);
        svg->out = wmf_stream_create(api, nullptr);
        svg->bbox = bbox;
        svg->width = width;
        svg->height = height;
        const wmf_error_t played = wmf_play(api, 0, &bbox);
        char* buffer = nullptr;
        unsigned long length = 0;
        wmf_stream_destroy(api, svg->out, &buffer, &length);
        // The buffer belongs to the reader's memory, freed with it: copy first.
        if (played == wmf_E_None && buffer && length > 0)
            result.svg = QByteArray(buffer, qsizetype(length));
        else
            result = failed(path, QStringLiteral("it is not a readable Windows metafile"));
    }
    wmf_api_destroy(api);
    return result;
}

MetafileSvg emfToSvg(const QString& path, QByteArray data) {
    generatorOptions options;
    std::memset(&options, 0, sizeof options);
    options.svgDelimiter = true;
    options.emfplus = true;
    char* out = nullptr;
    size_t length = 0;
    const int ok = emf2svg(data.data(), size_t(data.size()), &out, &length, &options);
    MetafileSvg result;
    if (ok && out && length > 0)
        result.svg = QByteArray(out, qsizetype(length));
    else
        result = failed(path, QStringLiteral("it is not a readable enhanced metafile"));
    std::free(out);
    return result;
}

}  // namespace

bool isMetafile(const QString& fileName) {
    return fileName.endsWith(QLatin1String(".wmf"), Qt::CaseInsensitive) ||
           fileName.endsWith(QLatin1String(".emf"), Qt::CaseInsensitive);
}

MetafileSvg metafileToSvg(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return failed(path, file.errorString());
    QByteArray data = file.readAll();
    if (data.size() < 22) return failed(path, QStringLiteral("the file is too short"));
    // An EMF begins with record type 1 (EMR_HEADER) and carries " EMF" at byte 40.
    const bool emf = qFromLittleEndian<quint32>(data.constData()) == 1 && data.size() >= 44 &&
                     qFromLittleEndian<quint32>(data.constData() + 40) == 0x464D4520;
    if (emf) return emfToSvg(path, std::move(data));
    if (path.endsWith(QLatin1String(".emf"), Qt::CaseInsensitive))
        return failed(path, QStringLiteral("it is not a readable enhanced metafile"));
    return wmfToSvg(path, std::move(data));
}

}  // namespace qv::plan
