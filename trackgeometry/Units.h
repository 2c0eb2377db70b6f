// Display units of lengths and coordinates: conversion and formatting of millimetres.
#pragma once

#include <string>

// Values of LayoutDocument::units.
inline constexpr int kUnitsMm = 0;
inline constexpr int kUnitsCm = 1;
inline constexpr int kUnitsInch = 2;

// The unit's name: "mm", "cm" or "in".
std::string UnitName(int units);
// Millimetres per display unit: 1, 10 or 25.4 (unknown values count as millimetres).
double UnitFactor(int units);
// A length for display: "12 mm", "1.2 cm" or "0.47"" with the inch mark; with the decimal
// comma of the NumberStyle where the reader's language has one.
std::string FormatLength(double mm, int units);
// The pointer position for the status bar: "12 mm,  34 mm", "1.2 cm,  3.4 cm" or
// "0.47 in,  1.34 in" ("1,2 cm;  3,4 cm" under a decimal comma).
std::string FormatCoordinates(double xMm, double yMm, int units);

// Decimals of a field where a stored length is typed in the display unit: 1 (mm), 2 (cm) or
// 3 (in), so that what the field shows stands for the length to a tenth of a millimetre.
int LengthDigits(int units);
// A stored length as such a field shows it: in the display unit, rounded to LengthDigits.
double ShownLength(double mm, int units);
// The length a field stands for when it is read back: the stored length itself while the field
// still shows it (an untouched field must never write back its rounded value), otherwise the
// field's value converted to millimetres.
double EnteredLengthMm(double storedMm, double fieldValue, int units);
