#include "MessageService.h"

#include "Profile.h"

#include <QMessageBox>

namespace tavio {

namespace {

class BoxService final : public MessageService
{
public:
    MsgResult show(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons,
                   const QString& caption) override
    {
        QMessageBox box(parent);
        box.setWindowTitle(caption.isEmpty() ? P(ProfileId::ApplicationTitle) : caption);
        QString shown = text;
        shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        box.setText(shown);
        switch (icon) {
        case MsgIcon::None: box.setIcon(QMessageBox::NoIcon); break;
        case MsgIcon::Error: box.setIcon(QMessageBox::Critical); break;
        case MsgIcon::Warning: box.setIcon(QMessageBox::Warning); break;
        case MsgIcon::Information: box.setIcon(QMessageBox::Information); break;
        case MsgIcon::Question: box.setIcon(QMessageBox::Question); break;
        }
        switch (buttons) {
        case MsgButtons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
        case MsgButtons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
        case MsgButtons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
        case MsgButtons::YesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
        case MsgButtons::YesNoDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            box.setDefaultButton(QMessageBox::No);
            break;
        case MsgButtons::YesNoCancelDefaultNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            box.setDefaultButton(QMessageBox::No);
            break;
        }
        switch (box.exec()) {
        case QMessageBox::Yes: return MsgResult::Yes;
        case QMessageBox::No: return MsgResult::No;
        case QMessageBox::Ok: return MsgResult::Ok;
        default: return MsgResult::Cancel;
        }
    }
};

BoxService& boxes()
{
    static BoxService service;
    return service;
}

MessageService*& current()
{
    static MessageService* service = nullptr;
    return service;
}

} // namespace

MessageService& MessageService::instance()
{
    return current() ? *current() : boxes();
}

void MessageService::setInstance(MessageService* service)
{
    current() = service;
}

MsgResult ShowMessage(QWidget* parent, const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption)
{
    return MessageService::instance().show(parent, text, icon, buttons, caption);
}

} // namespace tavio
