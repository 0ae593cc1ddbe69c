#pragma once
// Text procedures as the original runtime defines them. Positions are 1-based
// and count UTF-16 code units, like the original strings.

#include <QString>

#include <cstdint>

namespace rt {

enum class Compare { Binary = 0, Text = 1 };

QString Trim(const QString& s);    // blanks only, not tabs
QString LTrim(const QString& s);
QString RTrim(const QString& s);
QString UCase(const QString& s);
QString LCase(const QString& s);
QString Left(const QString& s, int32_t n);
QString Right(const QString& s, int32_t n);
QString Mid(const QString& s, int32_t start, int32_t length = -1);
int32_t Len(const QString& s);
// 1-based position of `find` in `s` from `start`, 0 when absent; an empty
// `find` gives `start` (when start <= Len + 1).
int32_t InStr(int32_t start, const QString& s, const QString& find,
              Compare compare = Compare::Binary);
int32_t InStr(const QString& s, const QString& find, Compare compare = Compare::Binary);
int32_t InStrRev(const QString& s, const QString& find, int32_t start = -1,
                 Compare compare = Compare::Binary);
QString Replace(const QString& s, const QString& find, const QString& with,
                Compare compare = Compare::Binary);
QString Space(int32_t n);
QString StringOf(int32_t n, QChar c);   // String(n, c)
QString Chr(int32_t code);
int32_t Asc(const QString& s);          // error 5 on the empty text
int32_t StrComp(const QString& a, const QString& b, Compare compare = Compare::Binary);

}  // namespace rt
