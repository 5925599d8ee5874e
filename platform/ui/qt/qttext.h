// Text between the layer's byte strings and Qt. Display texts are 1252,
// paths UTF-8; both arrive here as bytes, so the rule is:
// - to Qt: UTF-8 when the bytes are valid UTF-8, else 1252;
// - from Qt: 1252 when every character has a 1252 byte, else UTF-8, so
//   nothing typed is lost.
#pragma once

#include <QString>

#include "platform/afx/cstring.h"

QString AfxToQString(const CString& text);
QString AfxToQString(LPCTSTR lpszText);
CString AfxFromQString(const QString& text);
