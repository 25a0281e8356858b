#pragma once

#include "IniFile.h"

#include <QString>

// The server's chapter list (files.ini): one section per chapter file, named by its
// index, with the chapter's file name (`file`), its asset folder (`dir`, a trailing
// backslash allowed) and the asset names `file1`, `file2`, ... up to the first
// missing or empty one. The names come from a server and are checked before they
// become paths: each must be one plain name inside the chapter folder.
namespace tavio {

// One plain name that stays inside its folder: not empty, no leading dot (so not
// "." or ".." and no hidden file), no path separator of either kind, no drive
// letter or other colon, no control character.
bool IsSafeFileName(const QString& name);

// The `dir` value without its trailing backslash (or slash).
QString AssetFolderName(const QString& dir);

class UpdateChapterList final
{
public:
    UpdateChapterList() = default;
    explicit UpdateChapterList(IniFile ini)
        : m_ini(std::move(ini))
    {
    }

    // Empty when the section or key is missing.
    QString file(int index) const;
    QString dir(int index) const;
    // The asset with the 1-based number; empty ends the list.
    QString asset(int index, int number) const;
    // Whether the downloaded file of name key ("file", "file1", ...) is what the
    // section announces by "<key>_size" and "<key>_sha256"; true when it announces nothing.
    bool matches(int index, const QString& key, const QString& path) const;

    // The server keeps chapter files without their extension: 0107.htm is at
    // <chapters>0107.
    static QString chapterAddress(const QString& chaptersUrl, const QString& file);
    static QString assetAddress(const QString& chaptersUrl, const QString& dir, const QString& asset);

private:
    IniFile m_ini;
};

} // namespace tavio
