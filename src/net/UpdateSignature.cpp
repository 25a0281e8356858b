#include "UpdateSignature.h"

#include <sodium.h>

#include <mutex>

namespace tavio {

QByteArray BuiltInUpdateKey()
{
    return QByteArray::fromBase64(QByteArrayLiteral("I2VnF4S698TgmQRlY0T5DzFNR5Nop9aZqmNK5fL4nRg="));
}

bool SignatureValid(QByteArrayView message, const QByteArray& signatureText, const QByteArray& key)
{
    static std::once_flag once;
    static bool ready = false;
    std::call_once(once, [] { ready = sodium_init() >= 0; });
    const auto decoded = QByteArray::fromBase64Encoding(signatureText.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!ready || !decoded || decoded.decoded.size() != crypto_sign_BYTES || key.size() != crypto_sign_PUBLICKEYBYTES)
        return false;
    return crypto_sign_verify_detached(reinterpret_cast<const unsigned char*>(decoded.decoded.constData()),
                                       reinterpret_cast<const unsigned char*>(message.data()),
                                       static_cast<unsigned long long>(message.size()),
                                       reinterpret_cast<const unsigned char*>(key.constData()))
        == 0;
}

} // namespace tavio
