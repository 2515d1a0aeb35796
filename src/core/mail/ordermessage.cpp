#include "ordermessage.h"

#include <QLocale>
#include <QUuid>

namespace tolvimar {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

bool isPlainAscii(const QString &text)
{
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7e)
            return false;
    }
    return true;
}

// A body may go as 7bit only when it is ASCII, every line ends in CR LF and none is
// longer than the 998 bytes a mail line may hold.
bool fitsSevenBit(const QByteArray &bytes)
{
    qsizetype lineLength = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r') {
            if (i + 1 >= bytes.size() || bytes[i + 1] != '\n')
                return false;
            ++i;
            lineLength = 0;
            continue;
        }
        if (c == '\n' || c == 0 || c > 0x7e || (c < 0x20 && c != '\t'))
            return false;
        if (++lineLength > 998)
            return false;
    }
    return bytes.isEmpty() || bytes.endsWith("\r\n");
}

QByteArray base64Lines(const QByteArray &bytes)
{
    const QByteArray encoded = bytes.toBase64();
    QByteArray out;
    for (qsizetype i = 0; i < encoded.size(); i += 76)
        out += encoded.mid(i, 76) + "\r\n";
    return out;
}

// A file name for the Content-Disposition: quoted when ASCII, else an encoded word.
QByteArray quotedFileName(const QString &name)
{
    if (isPlainAscii(name) && !name.contains(u'"') && !name.contains(u'\\'))
        return '"' + name.toLatin1() + '"';
    return '"' + encodedHeaderText(name) + '"';
}

} // namespace

QByteArray charsetName(TextEncoding encoding)
{
    return encoding == TextEncoding::Windows1252 ? QByteArrayLiteral("windows-1252")
                                                 : QByteArrayLiteral("UTF-8");
}

QByteArray encodedHeaderText(const QString &text)
{
    if (isPlainAscii(text))
        return text.toLatin1();
    // Encoded words of at most 75 characters, never splitting a character.
    QByteArray out;
    QByteArray chunk;
    const auto flush = [&] {
        if (chunk.isEmpty())
            return;
        if (!out.isEmpty())
            out += "\r\n ";
        out += "=?UTF-8?B?" + chunk.toBase64() + "?=";
        chunk.clear();
    };
    const QString flat = QString(text).replace(u'\r', u' ').replace(u'\n', u' ');
    for (qsizetype i = 0; i < flat.size(); ++i) {
        qsizetype length = flat[i].isHighSurrogate() && i + 1 < flat.size() ? 2 : 1;
        const QByteArray character = flat.mid(i, length).toUtf8();
        i += length - 1;
        if ((chunk.size() + character.size() + 2) / 3 * 4 > 60)
            flush();
        chunk += character;
    }
    flush();
    return out;
}

QByteArray quotedPrintable(const QByteArray &bytes)
{
    QByteArray out;
    out.reserve(bytes.size() * 3 / 2);
    qsizetype lineLength = 0;
    const auto put = [&](const QByteArray &piece) {
        // A soft break keeps each encoded line at 76 characters; it decodes to nothing.
        if (lineLength + piece.size() > 75) {
            out += "=\r\n";
            lineLength = 0;
        }
        out += piece;
        lineLength += piece.size();
    };
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            // A blank or tab before a line end would be lost by the way: encoded.
            if (out.endsWith(' ') || out.endsWith('\t')) {
                const char last = out.back();
                out.chop(1);
                --lineLength;
                put(QByteArray("=") + kHex[last >> 4] + kHex[last & 15]);
            }
            out += "\r\n";
            lineLength = 0;
            ++i;
            continue;
        }
        // A dot at the start of a line is encoded too, so that no relay mistakes it.
        const bool literal = (c >= 33 && c <= 126 && c != '=' && !(c == '.' && lineLength == 0))
            || c == ' ' || c == '\t';
        if (literal)
            put(QByteArray(1, char(c)));
        else
            put(QByteArray("=") + kHex[c >> 4] + kHex[c & 15]);
    }
    if (out.endsWith(' ') || out.endsWith('\t'))
        out += "=";
    // The message must end with a line break; a soft one adds no byte.
    if (!out.isEmpty() && !out.endsWith("\r\n"))
        out += "=\r\n";
    return out;
}

QByteArray mailDate(const QDateTime &date)
{
    const QLocale c = QLocale::c();
    const int offset = date.offsetFromUtc() / 60;
    const QString zone = QString(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
        + QStringLiteral("%1%2")
              .arg(qAbs(offset) / 60, 2, 10, QLatin1Char('0'))
              .arg(qAbs(offset) % 60, 2, 10, QLatin1Char('0'));
    return (c.toString(date, QStringLiteral("ddd, d MMM yyyy HH:mm:ss ")) + zone).toLatin1();
}

QString newMessageId(const QString &fromAddress)
{
    QString domain = fromAddress.section(u'@', -1);
    if (domain.isEmpty() || domain == fromAddress)
        domain = QStringLiteral("localhost");
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + u'@' + domain;
}

QString addressProblem(const QString &address)
{
    if (address.isEmpty())
        return QStringLiteral("keine Adresse angegeben");
    for (const QChar c : address) {
        if (c.isSpace() || c.unicode() < 0x20 || c == u'<' || c == u'>' || c == u',' || c == u'"'
            || c == u'(' || c == u')' || c == u';')
            return QStringLiteral("\"%1\" ist keine einfache Mail-Adresse").arg(address);
    }
    const qsizetype at = address.lastIndexOf(u'@');
    if (at <= 0 || at == address.size() - 1)
        return QStringLiteral("\"%1\" ist keine Mail-Adresse (name@domain)").arg(address);
    return QString();
}

QByteArray OrderMessage::bytes() const
{
    QByteArray head;
    head += "From: " + from.toUtf8() + "\r\n";
    head += "To: " + to.toUtf8() + "\r\n";
    head += "Subject: " + encodedHeaderText(subject) + "\r\n";
    head += "Date: " + mailDate(date) + "\r\n";
    head += "Message-ID: <" + messageId.toUtf8() + ">\r\n";
    head += "MIME-Version: 1.0\r\n";
    const QByteArray charset = charsetName(encoding);
    const bool sevenBit = fitsSevenBit(orderBytes);
    if (!attach) {
        head += "Content-Type: text/plain; charset=" + charset + "\r\n";
        if (sevenBit)
            return head + "Content-Transfer-Encoding: 7bit\r\n\r\n" + orderBytes;
        return head + "Content-Transfer-Encoding: quoted-printable\r\n\r\n"
            + quotedPrintable(orderBytes);
    }
    const QByteArray boundary = "=_Befehle_" + QUuid::createUuid().toByteArray(QUuid::Id128);
    head += "Content-Type: multipart/mixed; boundary=\"" + boundary + "\"\r\n\r\n";
    QByteArray body = "--" + boundary + "\r\n";
    body += "Content-Type: text/plain; charset=UTF-8\r\n";
    body += "Content-Transfer-Encoding: quoted-printable\r\n\r\n";
    body += quotedPrintable(QStringLiteral("Die Befehle stehen in der angehängten Datei %1.\r\n")
                                .arg(fileName)
                                .toUtf8());
    body += "--" + boundary + "\r\n";
    body += "Content-Type: text/plain; charset=" + charset + "; name=" + quotedFileName(fileName)
        + "\r\n";
    body += "Content-Disposition: attachment; filename=" + quotedFileName(fileName) + "\r\n";
    body += "Content-Transfer-Encoding: base64\r\n\r\n";
    body += base64Lines(orderBytes);
    body += "--" + boundary + "--\r\n";
    return head + body;
}

} // namespace tolvimar
