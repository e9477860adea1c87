// The program's wide strings as Qt's, and back.
#pragma once

#include <QString>
#include <string>

inline QString Q(const std::wstring& text) { return QString::fromStdWString(text); }
inline QString Q(const wchar_t* text) { return QString::fromWCharArray(text); }
inline std::wstring W(const QString& text) { return text.toStdWString(); }
