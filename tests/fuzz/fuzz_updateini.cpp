// The INI reader with the update rules and the chapter list of files.ini: every name
// the list offers is either refused by the safe-name rule or stays in its folder.
#include "FuzzSupport.h"

#include "IniFile.h"
#include "MainTypes.h"
#include "UpdateChapterList.h"
#include "UpdateRules.h"

#include <QDir>

namespace {

void checkName(const QString& name)
{
    if (!tavio::IsSafeFileName(name))
        return;
    static const QString folder = QStringLiteral("/series/htm");
    const QString joined = QDir::cleanPath(folder + QLatin1Char('/') + name);
    FUZZ_CHECK(joined.startsWith(folder + QLatin1Char('/')));
    FUZZ_CHECK(!joined.mid(folder.size() + 1).contains(QLatin1Char('/')));
    FUZZ_CHECK(!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char(':')));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::quiet();
    fuzz::Input in(data, size);
    tavio::TProgramVersion running;
    running.Major = in.byte();
    running.Minor = in.byte();
    running.Release = in.byte();
    running.Build = in.byte();
    const tavio::UpdateOptions options = in.flag() ? tavio::UpdateOptions().withProgram(true) : tavio::UpdateOptions();
    const tavio::IniFile ini = tavio::IniFile::parse(in.rest());

    const tavio::UpdateDescriptor d = tavio::ReadUpdateDescriptor(ini, running);
    const tavio::UpdatePlan plan = tavio::PlanUpdate(d, running, options);
    FUZZ_CHECK(!plan.programDownload || options.program);
    (void)tavio::ServerVersionText(d.version);

    const tavio::UpdateChapterList list(ini);
    for (int i = 0; i < 300; ++i) {
        const QString file = list.file(i);
        checkName(file);
        (void)tavio::UpdateChapterList::chapterAddress(QStringLiteral("host/htm/"), file);
        const QString dir = list.dir(i);
        checkName(tavio::AssetFolderName(dir));
        for (int n = 1; n < 100; ++n) {
            const QString asset = list.asset(i, n);
            if (asset.isEmpty())
                break;
            checkName(asset);
            (void)tavio::UpdateChapterList::assetAddress(QStringLiteral("host/htm/"), dir, asset);
        }
    }
    return 0;
}
