#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// The program's help file: topics keyed by help-context number.
//
// Format, version 1 (a text file; lines end with CR LF or LF):
//   line 1       TAVIO-HELP 1 <encoding>     encoding: windows-1250 or utf-8
//   ; ...        a comment line, anywhere; ignored
//   @section T   starts a group of topics named T in the contents
//   @topic N T   starts the topic with help context N (1 and more) and title T
//   @see N N ... topics to offer after the text of the current topic
//   other lines  the text of the current topic; an empty line ends a paragraph,
//                the lines of one paragraph are joined with a space
// Every context number appears once. Text before the first topic is an error.
namespace tavio {

struct HelpTopic
{
    int context = 0;
    QString title;
    QString section;
    QStringList paragraphs;
    QList<int> seeAlso;
};

class HelpFile final
{
public:
    static constexpr int FormatVersion = 1;
    // Help files are small; a larger file is refused rather than read.
    static constexpr qint64 MaxBytes = 16 * 1024 * 1024;

    // An empty help file; error() says why when a load or parse failed.
    HelpFile() = default;
    static HelpFile parse(const QByteArray& bytes);
    static HelpFile load(const QString& path);

    bool isValid() const { return m_error.isEmpty() && !m_topics.isEmpty(); }
    QString error() const { return m_error; }

    const QList<HelpTopic>& topics() const { return m_topics; }
    // nullptr when the file has no topic for that context.
    const HelpTopic* topic(int context) const;

private:
    QList<HelpTopic> m_topics;
    QHash<int, qsizetype> m_index;
    QString m_error;
};

} // namespace tavio
