#pragma once
// One line of the data file: record number, TAB, "yyyy-mm-dd hh:nn:ss", TAB, temperature, TAB,
// humidity, CR LF. Temperature and humidity are given in tenths, as the logger sends them.

#include <cstdint>
#include <string>

namespace velkor {

// Sign ("+", "-", or a space for zero), |t| div 1000, then the hundreds and tens digits of |t|,
// ".", the last digit: 215 -> "+021.5", -52 -> "-005.2", 0 -> " 000.0", 12345 -> "+1234.5".
std::string TemperatureField(int tenths);
// "-" for negative values, |h| div 10 without leading zeros, ".", the last digit:
// 453 -> "45.3", 5 -> "0.5", -5 -> "-0.5", 1000 -> "100.0".
std::string HumidityField(int tenths);

std::string DataLine(std::int32_t recordNumber, int year, int month, int day, int hour, int minute,
                     int second, int temperatureTenths, int humidityTenths);

} // namespace velkor
