#pragma once

#include "MessageService.h"

#include <QList>
#include <QString>

// Answers message boxes without showing them and remembers what was asked.
class RecordingMessages final : public tavio::MessageService
{
public:
    struct Shown
    {
        QString text;
        tavio::MsgIcon icon;
        tavio::MsgButtons buttons;
        QString caption;
    };

    RecordingMessages() { tavio::MessageService::setInstance(this); }
    ~RecordingMessages() override { tavio::MessageService::setInstance(nullptr); }

    tavio::MsgResult show(QWidget*, const QString& text, tavio::MsgIcon icon, tavio::MsgButtons buttons,
                          const QString& caption) override
    {
        shown.append({text, icon, buttons, caption});
        if (!answers.isEmpty())
            return answers.takeFirst();
        return buttons == tavio::MsgButtons::Ok ? tavio::MsgResult::Ok : tavio::MsgResult::No;
    }

    QStringList texts() const
    {
        QStringList t;
        for (const Shown& s : shown)
            t.append(s.text);
        return t;
    }

    QList<Shown> shown;
    QList<tavio::MsgResult> answers;
};
