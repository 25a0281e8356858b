#include "QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace tavio {

namespace {

// The file type texts of the file dialogs under their former contexts.
class FileTypeTranslator final : public QTranslator
{
public:
    FileTypeTranslator(const QTranslator* base, QObject* parent)
        : QTranslator(parent)
        , m_base(base)
    {
    }

    bool isEmpty() const override { return false; }

    QString translate(const char* context, const char* sourceText, const char* disambiguation, int n) const override
    {
        if (qstrcmp(context, "QAbstractFileIconProvider") != 0)
            return {};
        for (const char* former : {"QFileDialog", "QFileSystemModel", "QFileIconProvider"}) {
            const QString t = m_base->translate(former, sourceText, disambiguation, n);
            if (!t.isEmpty())
                return t;
        }
        return {};
    }

private:
    const QTranslator* m_base;
};

} // namespace

QStringList InstallQtTranslations(QObject* owner)
{
    const QLocale czech(QLocale::Czech, QLocale::CzechRepublic);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    QStringList installed;
    const QTranslator* base = nullptr;
    // qtbase holds the dialogs and buttons; the others are there for the modules that have one.
    for (const QString& catalogue : {QStringLiteral("qtbase"), QStringLiteral("qtwebengine"),
                                     QStringLiteral("qtmultimedia"), QStringLiteral("qtdeclarative")}) {
        auto* translator = new QTranslator(owner);
        if (!translator->load(czech, catalogue, QStringLiteral("_"), folder)
            || !QCoreApplication::installTranslator(translator)) {
            delete translator;
            continue;
        }
        if (catalogue == QLatin1String("qtbase"))
            base = translator;
        installed.append(catalogue);
    }
    if (base)
        QCoreApplication::installTranslator(new FileTypeTranslator(base, owner));
    return installed;
}

} // namespace tavio
