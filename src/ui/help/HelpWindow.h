#pragma once

#include "HelpFile.h"

#include <QWidget>

class QTextBrowser;
class QTreeWidget;
class QTreeWidgetItem;

namespace tavio {

// The main help window: the topics of the help file on the left, the chosen topic on
// the right. It serves both "Témata nápovědy" and F1.
class HelpWindow final : public QWidget
{
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    void setHelpFile(const HelpFile& file);
    // The contents: the first topic chosen, the keyboard in the list.
    void showContents();
    // The topic of a help context; false when the file has none.
    bool showTopic(int context);
    int currentContext() const;

    QTreeWidget* trwTopics() const { return m_trwTopics; }
    QTextBrowser* reTopic() const { return m_reTopic; }

    // The topic as rich text: its title and paragraphs, and links to related topics
    // when withLinks is set.
    static QString topicHtml(const HelpTopic& topic, const HelpFile& file, bool withLinks);

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void render(QTreeWidgetItem* item);
    QTreeWidgetItem* itemOf(int context) const;

    HelpFile m_file;
    QTreeWidget* m_trwTopics;
    QTextBrowser* m_reTopic;
};

} // namespace tavio
