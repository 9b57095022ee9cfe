// The forecast-point page of the weather site rebuilt into a text to be read:
// today's and tomorrow's precipitation by six-hour period with the wind, then the
// weather, temperatures and precipitation of the coming nine days.
#pragma once

#include <cstddef>

constexpr std::size_t ForecastTextCapacity = 102400;

// Rewrites the page (a NUL-terminated Shift-JIS text in a buffer of capacity bytes)
// into the forecast text and returns 1. Returns 0 when the page lacks the tables
// the forecast is read from; the page then holds today's section and the weekly
// table as cut from the page, without further treatment.
int FormatForecast(char* page, std::size_t capacity);
