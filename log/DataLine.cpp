#include "log/DataLine.h"

#include <cstdio>
#include <cstdlib>

namespace velkor {

std::string TemperatureField(int tenths) {
    const long a = std::labs(tenths);
    std::string field(1, tenths > 0 ? '+' : tenths < 0 ? '-' : ' ');
    field += std::to_string(a / 1000);
    field += static_cast<char>('0' + a % 1000 / 100);
    field += static_cast<char>('0' + a % 100 / 10);
    field += '.';
    field += static_cast<char>('0' + a % 10);
    return field;
}

std::string HumidityField(int tenths) {
    const long a = std::labs(tenths);
    std::string field = tenths < 0 ? "-" : "";
    field += std::to_string(a / 10);
    field += '.';
    field += static_cast<char>('0' + a % 10);
    return field;
}

std::string DataLine(std::int32_t recordNumber, int year, int month, int day, int hour, int minute,
                     int second, int temperatureTenths, int humidityTenths) {
    char stamp[48];
    std::snprintf(stamp, sizeof stamp, "%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour,
                  minute, second);
    std::string line = std::to_string(recordNumber);
    line += '\t';
    line += stamp;
    line += '\t';
    line += TemperatureField(temperatureTenths);
    line += '\t';
    line += HumidityField(humidityTenths);
    line += "\r\n";
    return line;
}

} // namespace velkor
