// The main editor's keyword list as the user last edited it, kept beside cf.ini in the
// list's binary file form, so that edits made in the keyword editor last across restarts.
#pragma once

#include <QString>

namespace velmora::core
{
class TKeywordList;
}

namespace velmora::app
{

// The file's path in the settings folder.
QString savedKeywordListPath(const QString &settingsFolder);

// Replaces list by the saved one when the file exists; returns whether it did. A file that
// cannot be read throws (core::EditorError) and leaves list as it was.
bool loadSavedKeywordList(const QString &path, core::TKeywordList &list);

// Writes list whole, replacing the file only once written.
void saveKeywordList(const QString &path, const core::TKeywordList &list);

} // namespace velmora::app
