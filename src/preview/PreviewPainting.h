#pragma once
// What the steps of DrawPreview share. All of them paint with a QPainter that is
// active on a preview surface (RGB32); none keeps state between calls.
#include "PreviewCache.h"
#include "PreviewRenderer.h"
#include "SkinNumbers.h"

#include <QColor>
#include <QPainter>

#include <cstdint>
#include <vector>

QColor ToQColor(RgbColor color);
int DeviceWidth(const QPainter& painter);
int DeviceHeight(const QPainter& painter);
// A coordinate limited to just outside the device: clipping by the surface then
// gives the same pixels, and QPainter never sees a huge number.
int Limit(std::int64_t value, int size);
// value within the int range.
int Saturate(std::int64_t value);
// Whether the area left <= x < right, top <= y < bottom meets the device, and the
// clip when there is one: a redraw of part of the surface skips what lies outside it.
bool MeetsDevice(const QPainter& painter, std::int64_t left, std::int64_t top, std::int64_t right,
                 std::int64_t bottom);
// Lists an element's rectangle left <= x < right, top <= y < bottom when it is not
// empty. Far-off values are limited so that QRect's arithmetic cannot overflow.
void Record(std::vector<DrawnElement>* drawn, SkinCategory category, const char* key, std::int64_t left,
            std::int64_t top, std::int64_t right, std::int64_t bottom, bool mirrored = false);

// The nine text items with LangLines lines 0 to 8, then the right soft label
// (line 9) mirrored from SoftLabel, with a transparent text background.
void DrawTexts(QPainter& painter, PreviewCache* cache, const TSkinModel& model, const TextLines& langLines,
               std::vector<DrawnElement>* drawn);
