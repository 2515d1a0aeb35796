#pragma once

#include "../base/textfile.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

namespace tolvimar {

// The e-mail that carries an order file: headers From, To, Subject (an encoded word
// where it is not ASCII), Date, Message-ID and MIME-Version, lines in CR LF. The
// order file's bytes go unchanged in their own encoding, declared as the charset:
// as the message text in quoted-printable (7bit when the file is plain ASCII with
// short lines), so that no line is re-wrapped and every byte comes back, or as an
// attached file in base64.
struct OrderMessage
{
    QString from;
    QString to;
    QString subject;
    QByteArray orderBytes; // the order file as it is on disk
    TextEncoding encoding = TextEncoding::Utf8;
    QString fileName; // the order file's name, for the attachment
    bool attach = false;
    QDateTime date;
    QString messageId; // without angle brackets

    QByteArray bytes() const;
};

// "windows-1252" or "UTF-8".
QByteArray charsetName(TextEncoding encoding);
// A header value: as it is when printable ASCII, else RFC 2047 encoded words in UTF-8.
QByteArray encodedHeaderText(const QString &text);
// Quoted-printable with CR LF as the hard line break: every byte decodes back.
QByteArray quotedPrintable(const QByteArray &bytes);
// The date as mail writes it ("Fri, 11 Dec 2026 10:15:00 +0100").
QByteArray mailDate(const QDateTime &date);
// A fresh identifier for the Message-ID, at the domain of the address.
QString newMessageId(const QString &fromAddress);
// Whether a text is one plain mail address (local@domain, no blanks, brackets or
// line breaks that would let it reach into the headers). Empty reason when it is.
QString addressProblem(const QString &address);

} // namespace tolvimar
