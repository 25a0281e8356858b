#pragma once

#include "MainTypes.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

// The decisions of the on-line update: what the server's descriptor announces,
// how many chapters the reader has, which options may be set, and the texts the
// update window shows for sizes and log lines.
namespace tavio {

class ChapterTree;
class IniFile;

// The server's addresses, host and path without a scheme, as the profile gives
// them. Tests point them at their own loopback server.
struct UpdateAddresses
{
    QString updateIni;
    QString filesIni;
    QString exe;
    QString whatsNew;
    QString userInfo;
    QString chapters; // the server folder of the chapter files, ending in '/'
    QString helpZip;

    static UpdateAddresses fromProfile();
};

// Whether the server's version is newer: at least one of the four components is
// greater than the running one's, each compared on its own as a signed number.
// This is deliberately not an ordering: 1.4.9.9 counts as newer than 1.5.0.0.
bool IsNewVersion(const TProgramVersion& server, const TProgramVersion& running);

// The version as the server wrote it; its components are signed numbers.
QString ServerVersionText(const TProgramVersion& v);

// What update.ini announces.
struct UpdateDescriptor
{
    bool hasLastVersion = false; // the section [last_version] exists
    TProgramVersion version;     // missing components are the running program's
    int lastFileIndex = 0;       // [last_file_index] value, 0 when missing
};

UpdateDescriptor ReadUpdateDescriptor(const IniFile& ini, const TProgramVersion& running);

// The chapter files of the catalogue: the nodes with the chapter picture in tree
// order from the second node to the last. The first node is never counted (the
// server's chapter list is numbered by this count); an empty tree gives -1.
int CountLocalChapters(const ChapterTree& tree);

// The two update options; at least one of them stays checked.
struct UpdateOptions
{
    bool program = false; // "Aktualizace programu"
    bool files = true;    // "Aktualizace souborů"

    // Unchecking one option checks the other.
    UpdateOptions withProgram(bool on) const;
    UpdateOptions withFiles(bool on) const;
    // A finished series updates only the program.
    static UpdateOptions forFinishedSeries();
};

// What follows the arrival of update.ini.
struct UpdatePlan
{
    bool whatsNew = false;        // fetch the news of the new version
    bool programDownload = false; // the chapter check then follows the program download
    bool noNewVersion = false;    // say that no new program version was found
    bool chapterCheck = false;    // compare the local chapters with the server's
};

UpdatePlan PlanUpdate(const UpdateDescriptor& descriptor, const TProgramVersion& running, const UpdateOptions& options);

// The server offers chapters beyond the local ones.
inline bool HasNewChapters(int localChapters, int lastFileIndex)
{
    return localChapters < lastFileIndex;
}

// A byte count in kilobytes of 1000 bytes, as the platform's fixed format with five
// significant digits and two decimals prints it: "1462,70" under a Czech locale.
// Values with more than five digits before the separator are shown in exponent form.
QString KilobyteText(qint64 bytes, const QLocale& locale = QLocale());
// "<readed> kb/<total> kb".
QString SizeText(qint64 readed, qint64 total, const QLocale& locale = QLocale());

// A line of the update log: the date in the user's short format, " [", the time in
// the user's long format, "] " and the text.
QString LogLineText(const QDateTime& when, const QString& text, const QLocale& locale = QLocale());

} // namespace tavio
