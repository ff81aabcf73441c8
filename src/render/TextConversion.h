#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include "platform/Prompts.h"

namespace zw {

// Every "=" becomes "=3D", the quoted-printable form of "=". Link addresses go into parts that are
// declared quoted-printable, so their "=" must not be taken for an escape.
QByteArray Check3D(const QByteArray& text);

// A user text as it goes into a part declared quoted-printable: every "=" becomes "=3D", so that a
// reader decodes exactly what was typed ("HERBST=20" stays "HERBST=20"). An "=" that already starts
// "=3D" stays: that is how the link command writes its tag, and how stored templates hold it.
QByteArray EscapeEquals(const QByteArray& text);
// The same, appended to out.
void AppendEscapedEquals(QByteArray& out, QByteArrayView text);

// A link address as it goes into an href or the plain-text part: mail addresses get "mailto:",
// addresses without a scheme get "http://", and the "=" of web addresses are escaped. An address with
// "\" is reported through prompts (it is most likely a typo for "/") and used all the same.
QByteArray NormalizeLink(const QByteArray& address, Prompts& prompts);

}  // namespace zw
