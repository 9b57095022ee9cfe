#include "retrieval/forecast.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "retrieval/sjis.h"
#include "retrieval/textcut.h"

namespace {

constexpr int CellCount = 64;
constexpr std::size_t CellCapacity = 256;
constexpr std::size_t LineCapacity = 1024;
constexpr int HeaderCells = 18;
constexpr int TodayFirst = 18, TodayLast = 22;
constexpr int TomorrowFirst = 23, TomorrowLast = 27;
constexpr int DayLabels = 28, DayWeather = 37, DayTemperatures = 46, DayPrecipitation = 55;
constexpr int Days = 9;

using Cells = char[CellCount][CellCapacity];

// Finds marker from *position on; on success *position is its offset.
bool Find(const char* text, const char* marker, int* position) {
    return FindMarker(text, marker, position) == 1;
}

// Copies the bytes from `from` to `to` into a cell; a cell whose end lies before
// its start is empty.
void FillCell(char* cell, const char* page, int from, int to) {
    std::size_t length = to > from ? static_cast<std::size_t>(to - from) : 0;
    SjisCopyCut(cell, CellCapacity, page + from, length);
}

// Cells 0 to 17 from the table header cells. Returns false when there are fewer.
bool ReadHeaderCells(const char* page, Cells cells) {
    int position = 0;
    for (int n = 0; n < HeaderCells; ++n) {
        int h = position;
        if (!Find(page, "<th", &h)) return false;
        int e = h;
        if (!Find(page, "</th", &e)) return false;
        FillCell(cells[n], page, h + 4, e);
        position = e;
    }
    return true;
}

// Cells 18 to 63 from the table data cells, skipping the rest of today's and of
// tomorrow's table after their five cells. Returns false when the page ends first.
bool ReadDataCells(const char* page, Cells cells) {
    int position = 0;
    for (int n = TodayFirst; n < CellCount; ++n) {
        int d = position;
        if (!Find(page, "<td", &d)) return false;
        int e = d;
        if (!Find(page, "</td", &e)) return false;
        FillCell(cells[n], page, d + 4, e);
        position = e;
        if (n == TodayLast || n == TomorrowLast) {
            if (!Find(page, "</table", &position)) return false;
        }
    }
    return true;
}

void CleanCells(Cells cells) {
    for (int n = DayTemperatures; n < DayTemperatures + Days; ++n) {
        ReplaceAll(cells[n], CellCapacity, "<p class=\"high-temp\">", "最高気温　");
        ReplaceAll(cells[n], CellCapacity, "<p class=\"low-temp\">", "\n最低気温　");
    }
    for (int n = 0; n < CellCount; ++n) {
        StripTags(cells[n]);
        ReplaceAll(cells[n], CellCapacity, "class=\"past\">", "");
        ReplaceAll(cells[n], CellCapacity, "&#8451;", "℃");
        ReplaceAll(cells[n], CellCapacity, "&#13212;", "");
    }
}

// Appends bytes [from, to) of s to the output, cut at its capacity.
void AppendBytes(std::vector<char>& out, const char* s, std::size_t length) {
    std::size_t used = std::strlen(out.data());
    if (used + 1 >= out.size()) return;
    SjisCopyCut(out.data() + used, out.size() - used, s, length);
}

void AppendText(std::vector<char>& out, const char* s) { AppendBytes(out, s, std::strlen(s)); }

// Formats one block and appends it cut to a line's capacity on a character boundary
// (the formatter itself would cut it anywhere, even between the bytes of a character).
[[gnu::format(printf, 2, 3)]] void AppendBlock(std::vector<char>& out, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::vector<char> block(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(block.data(), block.size(), format, again);
        AppendBytes(out, block.data(), SjisFitLength(block.data(), block.size() - 1, LineCapacity - 1));
    }
    va_end(again);
}

void AppendPrecipitation(std::vector<char>& out, Cells cells, int first, const char* tail) {
    AppendBlock(out,
                "降水確率\n0時から6時　%s\n6時から12時　%s\n12時から18時　%s\n18時から24時　%s\n風　%s%s",
                cells[first],
                cells[first + 1],
                cells[first + 2],
                cells[first + 3],
                cells[first + 4],
                tail);
}

}  // namespace

int FormatForecast(char* page, std::size_t capacity) {
    CutBetween(page,
               "<section class=\"today-weather\"><!-- 今日の天気 -->",
               "<h3>気象予報士による解説記事<span class=\"sub-title\">(日直予報士)</span></h3>");
    RemoveSpan(page, "</section><!-- /明日の天気 -->", "<section class=\"forecast-point-week-wrap\">");

    static_assert(sizeof(Cells) == CellCount * CellCapacity, "cells are one block");
    std::vector<char> cellBlock(sizeof(Cells), '\0');
    auto cells = reinterpret_cast<char(*)[CellCapacity]>(cellBlock.data());
    if (!ReadHeaderCells(page, cells) || !ReadDataCells(page, cells)) return 0;

    // The headings around the two daily tables.
    int tableStart = 0;
    if (!Find(page, "<table>", &tableStart)) return 0;
    int firstTableEnd = tableStart;
    if (!Find(page, "</table>", &firstTableEnd)) return 0;
    firstTableEnd += 8;
    int secondTable = firstTableEnd;
    if (!Find(page, "<table>", &secondTable)) return 0;

    CleanCells(cells);

    std::vector<char> out(ForecastTextCapacity, '\0');
    AppendBytes(out, page, static_cast<std::size_t>(tableStart));
    AppendPrecipitation(out, cells, TodayFirst, "");
    char line[LineCapacity];
    SjisCopyCut(
        line, sizeof line, page + firstTableEnd, static_cast<std::size_t>(secondTable - firstTableEnd));
    AppendText(out, line);
    AppendPrecipitation(out, cells, TomorrowFirst, "\n\n");
    for (int j = 0; j < Days; ++j) {
        AppendBlock(out,
                    "%s%s\n気温\n%s\n降水確率　%s\n",
                    cells[DayLabels + j],
                    cells[DayWeather + j],
                    cells[DayTemperatures + j],
                    cells[DayPrecipitation + j]);
    }

    char* text = out.data();
    const std::size_t room = out.size();
    StripTags(text);
    ReplaceAll(text, room, "&nbsp;", " ");
    ReplaceAll(text, room, "colspan=\"4\">", "");
    ReplaceAll(text, room, "class=\"cityday\">", "");
    ReplaceAll(text, room, "class=\"weather-icon\">", "");
    ReplaceAll(text, room, " ", "");
    ReplaceAll(text, room, "\n\n\n", "\n\n");

    if (capacity > 0) SjisCopyCut(page, capacity, text, std::strlen(text));
    return 1;
}
