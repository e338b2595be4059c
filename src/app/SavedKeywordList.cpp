#include "app/SavedKeywordList.h"

#include "editor/core/keyfiles/KeywordFiles.h"
#include "editor/core/keyfiles/KeywordList.h"
#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>

namespace velmora::app
{

QString savedKeywordListPath(const QString &settingsFolder)
{
    return settingsFolder + QStringLiteral("keywords.kbn");
}

bool loadSavedKeywordList(const QString &path, core::TKeywordList &list)
{
    if (!QFileInfo(path).isFile())
        return false;
    core::TKeywordList saved;
    core::loadKbnFile(std::filesystem::path(QFile::encodeName(path).toStdString()), saved);
    list.Assign(saved);
    return true;
}

void saveKeywordList(const QString &path, const core::TKeywordList &list)
{
    platform::writeFileAtomically(path, core::kbnBytes(list));
}

} // namespace velmora::app
