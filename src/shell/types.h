// Small value types shared by every layer of the core.
#pragma once

#include <cstdint>

namespace lemmabox {

// A math object record; its layout lives in mathobj/object.h. The shell only
// needs to name handles (the offending object of a failure, for instance).
struct Obj;
// A handle is a pointer to a master pointer that points at the object's
// block, so an object can move when it grows while every holder keeps the
// same handle.
using Handle = Obj**;

// A message number is a string-table id; failures carry one.
using MessageNumber = int32_t;

struct Point {
  int32_t x = 0;
  int32_t y = 0;
  friend bool operator==(const Point&, const Point&) = default;
};

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  friend bool operator==(const Rect&, const Rect&) = default;
};

}  // namespace lemmabox
