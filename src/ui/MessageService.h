#pragma once

#include <QString>

class QWidget;

// Every message box of the program goes through this service, so that tests can
// answer them without a modal window.
namespace tavio {

enum class MsgIcon { None, Error, Warning, Information, Question };
// YesNoDefaultNo, YesNoCancelDefaultNo: Enter answers No, for questions whose Yes
// destroys something or is the rarer choice.
enum class MsgButtons { Ok, YesNo, YesNoCancel, OkCancel, YesNoDefaultNo, YesNoCancelDefaultNo };
enum class MsgResult { Ok, Cancel, Yes, No };

class MessageService
{
public:
    virtual ~MessageService() = default;
    // caption: empty for the application title.
    virtual MsgResult show(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                           const QString& caption = {}) = 0;

    static MessageService& instance();
    // Replaces the service (tests); nullptr restores the message boxes.
    static void setInstance(MessageService* service);
};

// Shorthands.
MsgResult ShowMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      const QString& caption = {});

} // namespace tavio
