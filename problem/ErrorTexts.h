// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every error text the problem reader reports, and the status texts of a
// fresh build. Trailing blanks and spelling are part of the texts.
namespace optimara {

inline constexpr const char* kError1 = "ERROR1: Número esperado       -";
inline constexpr const char* kError2 = "ERROR2: Número esperado       +";
inline constexpr const char* kError3 = "ERROR3: Símbolo inapropiado";
inline constexpr const char* kError4 = "ERROR4: Variable especrada en la función objetn";
inline constexpr const char* kError5 = "ERROR5: Variable duplicada ";
inline constexpr const char* kError6 = "ERROR6: Inesperado final      ";
inline constexpr const char* kError7 = "ERROR7: Inesperado final      ";
inline constexpr const char* kError9 = "ERROR9: Inesperado final      ";
inline constexpr const char* kError10 = "ERROR10: Inesperado final de expresió";
inline constexpr const char* kError11 = "ERROR11: Fin de linea esperad";
inline constexpr const char* kError12 = "ERROR12: Número no hayado";
inline constexpr const char* kError13 = "ERROR13: Variable esperada";
inline constexpr const char* kError14 = "ERROR14: Variable esperada";
inline constexpr const char* kError15 = "ERROR15: Un cero no tiene ningún efecto en la (in) ecuación";
inline constexpr const char* kError16Duplicate = "ERROR16: Variable duplicada ";
inline constexpr const char* kError16NoConstraints = "ERROR16: No hay restricciones";
// A line «entero: x, y» that names a variable no other part of the text
// has, or names none.
inline constexpr const char* kError17 = "ERROR17: Variable entera desconocida";
inline constexpr const char* kError18 = "ERROR18: Lista de enteros vacía";
inline constexpr const char* kNothingToOptimize = "Nada para optimizar     ";

// Status text after a build, by the result of the first pivot selection.
inline constexpr const char* kBuildPivotChosen = "";
inline constexpr const char* kBuildInfeasible = "no factible";
inline constexpr const char* kBuildUnbounded = "ilimitado";
inline constexpr const char* kBuildOptimal = "vale";

} // namespace optimara
