#pragma once
// Custom codes are typed by people and heard from the wire. The wire form is
// "1C 05 02 62 00 00 FF 7A"; a stored code may be in lower case, carry extra
// spaces, single digits or no spaces at all. Both sides are brought to the
// wire form before they are compared, so the same bytes always match.

#include <QString>

namespace qv::reactions {

// Upper case, one space between bytes, no leading or trailing space. A group
// of one hex digit gets its leading zero; a run of an even number of hex
// digits is split into bytes. Groups that are not hex are kept as they are
// (upper-cased), so a malformed code still matches only itself.
QString normaliseHexText(const QString& text);

}  // namespace qv::reactions
