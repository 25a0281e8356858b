// Copying every notes file out of the notes folder or into it.
#include "NotesPage.h"

#include "FileCopy.h"
#include "NotesExport.h"
#include "MainTypes.h"
#include "MessageService.h"
#include "Profile.h"
#include "RichEdit.h"
#include "widgets/StatusBar.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

namespace tavio {

namespace {

const QString CopyFailed = QStringLiteral("Chyba při kopírování souborů");
const QString SomeNotCopied = QStringLiteral("Některé soubory nemohly být zazálohovány.");
const QString CopyOntoItself = QStringLiteral("Nelze kopírovat soubor sám na sebe!");
const QString NotesPattern = QStringLiteral("*.rtn");
const QString NoNotes = QStringLiteral("Žádná kapitola nemá poznámky.");

} // namespace

bool NotesPage::copyNotes(const QString& from, const QString& to)
{
    QProgressDialog progress(QStringLiteral("Kopírují se soubory ..."), QStringLiteral("Storno"), 0, 0, m_main);
    progress.setWindowTitle(P(ProfileId::ApplicationTitle));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoReset(false);
    FileCopyCallbacks callbacks;
    callbacks.progress = [&progress](int index, int count, const QString& name) {
        progress.setMaximum(count);
        progress.setValue(index);
        if (!name.isEmpty())
            progress.setLabelText(QStringLiteral("Kopíruji soubor ") + name + QStringLiteral(" ..."));
        QApplication::processEvents();
    };
    callbacks.cancelled = [&progress] {
        QApplication::processEvents();
        return progress.wasCanceled();
    };
    callbacks.askReplace = [this](const QString& target) { return m_dialogs.replace(m_main, target); };
    return FileCopy::copy(from, NotesPattern, to, callbacks).ok;
}

void NotesPage::mnuPoznamkyExportClick()
{
    const QString chosen = m_dialogs.folder(m_main);
    if (chosen.isEmpty())
        return;
    const QString notes = m_layout.notesFolder();
    if (FileCopy::sameFolder(chosen, notes)) {
        ShowMessage(m_main, CopyOntoItself, MsgIcon::Error);
        return;
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    statusBar()->setText(0, QStringLiteral("Čekejte prosím, soubory se kopírují ..."));
    statusBar()->repaint();
    const QString destination = WithTrailingSeparator(QDir::fromNativeSeparators(chosen));
    QDir().mkpath(destination);
    if (!copyNotes(notes, destination)) {
        ShowMessage(m_main, CopyFailed, MsgIcon::Error);
        ShowMessage(m_main, SomeNotCopied, MsgIcon::Warning);
    } else {
        ShowMessage(m_main,
                    QStringLiteral("Poznámky byly vyexportovány do adresáře:") + QStringLiteral("\r\n")
                        + QDir::toNativeSeparators(destination),
                    MsgIcon::Information);
    }
    QApplication::restoreOverrideCursor();
    statusBar()->setText(0, QString());
}

void NotesPage::mnuPoznamkyImportClick()
{
    const QString chosen = m_dialogs.folder(m_main);
    if (chosen.isEmpty())
        return;
    const QString notes = m_layout.notesFolder();
    if (FileCopy::sameFolder(chosen, notes)) {
        ShowMessage(m_main, CopyOntoItself, MsgIcon::Error);
        return;
    }
    // The import may replace the shown notes: unsaved changes get the leave question first.
    if (m_reNotes->isModified()) {
        if (ShowMessage(m_main, SaveQuestion, MsgIcon::Question, MsgButtons::YesNo) == MsgResult::Yes) {
            if (!btnSaveNotesClick())
                return;
        } else {
            m_reNotes->setModified(false);
            button(QStringLiteral("btnSaveNotes"))->setEnabled(false);
            LoadNotes(m_currentNotesFile);
        }
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QDir().mkpath(notes);
    if (!copyNotes(WithTrailingSeparator(QDir::fromNativeSeparators(chosen)), notes)) {
        ShowMessage(m_main, CopyFailed, MsgIcon::Error);
        ShowMessage(m_main, SomeNotCopied, MsgIcon::Warning);
    } else {
        ShowMessage(m_main, QStringLiteral("Poznámky byly importovány"), MsgIcon::Information);
        if (isVisible() && !m_currentNotesFile.isEmpty())
            LoadNotes(m_currentNotesFile);
    }
    QApplication::restoreOverrideCursor();
    statusBar()->setText(0, QString());
}

void NotesPage::exportChapterNotes()
{
    if (m_currentNotesFile.isEmpty()) {
        ShowMessage(m_main, QStringLiteral("Není otevřena žádná kapitola."), MsgIcon::Information);
        return;
    }
    NotesExportChapter chapter{QFileInfo(m_currentNotesFile).completeBaseName(), m_currentNotesFile,
                               m_reNotes->content()};
    if (exportList) {
        for (const NotesExportChapter& c : exportList()) {
            if (c.notesPath == m_currentNotesFile) {
                chapter.heading = c.heading;
                break;
            }
        }
    }
    exportNotes({chapter}, QStringLiteral("Exportovat poznámky kapitoly"));
}

void NotesPage::exportAllNotes()
{
    QList<NotesExportChapter> chapters;
    if (exportList) {
        for (const NotesExportChapter& c : exportList()) {
            if (QFileInfo(c.notesPath).isFile())
                chapters.append(c);
        }
    }
    if (chapters.isEmpty()) {
        ShowMessage(m_main, NoNotes, MsgIcon::Information);
        return;
    }
    exportNotes(chapters, QStringLiteral("Exportovat všechny poznámky"));
}

void NotesPage::exportNotes(const QList<NotesExportChapter>& chapters, const QString& title)
{
    if (!m_dialogs.exportFile)
        return;
    const QString path = m_dialogs.exportFile(m_main, title);
    if (path.isEmpty())
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const NotesExportResult result = ExportNotes(chapters, NotesExportFormatOf(path), path);
    QApplication::restoreOverrideCursor();
    const QString shown = QDir::toNativeSeparators(path);
    if (!result.ok)
        ShowMessage(m_main,
                    QStringLiteral("Poznámky se nepodařilo vyexportovat do souboru ") + shown + QStringLiteral(".")
                        + P(ProfileId::LineBreak) + result.error,
                    MsgIcon::Error);
    else if (result.chapters == 0)
        ShowMessage(m_main, NoNotes, MsgIcon::Information);
    else
        ShowMessage(m_main, QStringLiteral("Poznámky byly vyexportovány do souboru:") + QStringLiteral("\r\n") + shown,
                    MsgIcon::Information);
}

} // namespace tavio
