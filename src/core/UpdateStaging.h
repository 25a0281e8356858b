#pragma once

#include <QString>
#include <QStringList>

// A chapter of the on-line update is put together in a staging folder beside the
// chapter folder and moved into the chapter folder only when every file of it has
// arrived, so the chapter folder never holds half a chapter: not after a failed
// picture, not after a stop, not after a crash.
namespace tavio {

class UpdateStaging final
{
public:
    // chapterFolder: the folder the chapters go to, ending with a separator.
    explicit UpdateStaging(const QString& chapterFolder);

    // The staging folder, ending with a separator: a hidden folder beside the chapter
    // folder (".Htm.update/" beside "Htm/"). Empty when the chapter folder has no parent.
    QString path() const { return m_path; }

    // Removes the staging folder and everything in it; true when none is left.
    bool clear(QString* error = nullptr) const;
    // An empty staging folder for the next chapter.
    bool prepare(QString* error = nullptr) const;

    // Where a chapter's files are written while they come.
    QString chapterTarget(const QString& file) const;
    // dir: the chapter's asset folder name, empty when the pictures lie beside the chapter.
    QString assetTarget(const QString& dir, const QString& asset) const;
    bool makeAssetFolder(const QString& dir) const;

    // Moves the staged chapter into the chapter folder: the pictures first (replacing
    // pictures of the same name, keeping the others), the chapter file last, so that
    // the chapter counts as there only together with its pictures. The staging
    // folder is emptied in any case.
    bool place(const QString& file, const QString& dir, const QStringList& assets, QString* error = nullptr) const;

private:
    QString m_chapterFolder;
    QString m_path;
};

} // namespace tavio
