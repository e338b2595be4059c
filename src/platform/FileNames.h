// File names on a case-sensitive file system, looked up the way the DOS tools and the
// settings expect: without regard to letter case.
#pragma once

#include <QString>

namespace velmora::platform {

// The existing entry of dir whose name equals name ignoring letter case (an exact match
// wins); the plain dir + "/" + name when there is none.
QString findIgnoringCase(const QString &dir, const QString &name);

// The existing path whose components equal those of path ignoring letter case, resolved
// component by component from the root; the path unchanged when some component has no match.
QString resolveIgnoringCase(const QString &path);

} // namespace velmora::platform
