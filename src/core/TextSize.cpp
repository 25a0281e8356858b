#include "TextSize.h"

#include "AppSettings.h"
#include "Profile.h"
#include "SettingsStore.h"

#include <QByteArray>
#include <QtEndian>

namespace tavio {

TextSize::TextSize(SettingsStore& store)
    : m_store(store)
{
}

QString TextSize::viewKey()
{
    return P(ProfileId::IEScriptsKey);
}

QString TextSize::savedKey()
{
    return P(ProfileId::MakerRegistryRoot);
}

QString TextSize::valueName()
{
    return P(ProfileId::IEFontSizeValue);
}

int TextSize::ReadViewTextSize(bool fromSavedCopy) const
{
    const QString key = fromSavedCopy ? savedKey() : viewKey();
    if (!m_store.keyExists(key))
        return DefaultStep;
    if (m_store.valueExists(key, valueName())) {
        const auto bytes = m_store.readBinary(key, valueName());
        if (!bytes || bytes->isEmpty())
            return DefaultStep; // a value of another kind reads as the default
        return quint8(bytes->at(0));
    }
    if (!fromSavedCopy)
        const_cast<TextSize*>(this)->SetViewTextSize(true, DefaultStep);
    return DefaultStep;
}

void TextSize::SaveViewTextSize(int step)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian<qint32>(step, bytes.data());
    m_store.writeBinary(savedKey(), valueName(), bytes);
}

void TextSize::SetViewTextSize(bool useDefault, int step)
{
    SaveViewTextSize(ReadViewTextSize(true));
    if (!m_store.keyExists(viewKey()))
        return;
    QByteArray bytes(4, '\0');
    bytes[0] = char(useDefault ? DefaultStep : (step & 0xFF));
    m_store.writeBinary(viewKey(), valueName(), bytes);
}

int TextSize::readChosenSize() const
{
    return m_store.readInteger(AppSettings::root(), valueName()).value_or(DefaultStep);
}

void TextSize::writeChosenSize(int step)
{
    m_store.writeInteger(AppSettings::root(), valueName(), step);
}

void TextSize::startupPrepare()
{
    if (!m_store.valueExists(savedKey(), valueName()))
        SaveViewTextSize(DefaultStep);
}

void TextSize::startupSaveViewSetting()
{
    SaveViewTextSize(ReadViewTextSize(false));
}

void TextSize::restoreViewSetting()
{
    SetViewTextSize(false, ReadViewTextSize(true));
}

} // namespace tavio
