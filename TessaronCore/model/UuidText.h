#pragma once

#include <QString>
#include <QUuid>

namespace tessaron {

// The canonical 36-character form in upper case, as stored in files and used as keyring account.
inline QString uuidText(const QUuid& id) { return id.toString(QUuid::WithoutBraces).toUpper(); }

} // namespace tessaron
