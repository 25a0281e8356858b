#pragma once

#include <QByteArray>
#include <QByteArrayView>

// Detached Ed25519 signatures over the update's descriptors. update.ini and
// files.ini may come with update.ini.sig and files.ini.sig beside them on the
// server: the 64-byte signature in Base64, on one line. A publisher makes a key
// pair and signs as the README says (scripts/sign-series.sh).
namespace tavio {

// The public key built into the program (32 bytes): the demo series' key, whose
// private half lies in demo/update-demo-key.pem.
QByteArray BuiltInUpdateKey();

// True when signatureText (Base64, blanks around it allowed) is a valid signature
// of message under key. False for a key or signature of the wrong size.
bool SignatureValid(QByteArrayView message, const QByteArray& signatureText, const QByteArray& key);

} // namespace tavio
