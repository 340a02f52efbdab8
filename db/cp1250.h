#pragma once
// Text travels to and from the server as Windows-1250 bytes (the connection uses lc_ctype=NONE).
#include <QByteArray>
#include <QString>

namespace db {
QString fromCp1250(const char* data, int length);
inline QString fromCp1250(const QByteArray& b) { return fromCp1250(b.constData(), int(b.size())); }
QByteArray toCp1250(const QString& text);   // characters outside the code page become '?'
}
