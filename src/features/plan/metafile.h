#pragma once
// Windows metafiles (WMF) and enhanced metafiles (EMF), which drawings of
// existing sites often are, converted to SVG so the plan view can show them.

#include <QByteArray>
#include <QString>

namespace qv::plan {

struct MetafileSvg {
    QByteArray svg;  // empty when the file could not be converted
    QString error;   // why, for the user
};

// True for a file name ending in .wmf or .emf (any case).
bool isMetafile(const QString& fileName);
// Reads the file and converts it by its contents (an EMF starts with an
// EMR_HEADER record, anything else is tried as a WMF).
MetafileSvg metafileToSvg(const QString& path);

}  // namespace qv::plan
