// Colours and switches of syntax colouring, kept free of the window
// system: pixels are plain numbers.  The toolkit installs its colour
// allocator and its named pixels through the hooks here; until it does,
// a colour is its 0xRRGGBB value parsed from the colour's text.
#pragma once

#include <string>

#include "syntax/syn_state.h"

using synPixel = unsigned long;

// The configured classes a run's colour is chosen from.
enum class synColorClass {
  plain, string, character, deadcode, comment, keyword, number, customized
};
synColorClass syn_ColorClassOfStatus(synState status);

// The pixel of each class when a language gives none of its own; `fg` is
// also the colour of plain text and of classes switched off.
struct synDefaultPixels {
  synPixel fg = 0x000000;
  synPixel string = 0x800000;
  synPixel character = 0xc000c0;
  synPixel deadcode = 0x808080;
  synPixel comment = 0x008000;
  synPixel keyword = 0x0000ff;
  synPixel integer = 0xe000e0;
  synPixel customized = 0x008080;
};

// The options syntax colouring follows; all on by default.
struct synSettings {
  bool colorsyntax = true;
  bool colorString = true;
  bool colorChar = true;
  bool colorDeadcode = true;
  bool colorComment = true;
  bool colorKeyword = true;
  bool colorNumber = true;
  bool colorCustomized = true;
  bool cppCommentsInC = true;  // "//" comments in languages of kind C
};

synSettings& syn_Settings();
synDefaultPixels& syn_DefaultPixels();

// The toolkit's colour services.  `allocate` turns a colour name into a
// pixel (false when the name is unknown), `release` frees one, `bell`
// rings the display's bell.  A null member keeps the built-in behaviour.
struct synColorHooks {
  bool (*allocate)(const char* name, synPixel* out) = nullptr;
  void (*release)(synPixel pixel) = nullptr;
  void (*bell)() = nullptr;
};
void syn_SetColorHooks(const synColorHooks& hooks);
void syn_Bell();

// The built-in allocator: "#rgb", "#rrggbb", "#rrrrggggbbbb", "rgb:r/g/b"
// and common colour names, as 0xRRGGBB.
bool syn_ParseColorName(const char* name, synPixel* out);

// One colour of a language: the name it was given and, when allocated, its
// pixel.  The name "none" allocates nothing (the class keeps its default).
class synColor {
 public:
  synColor() = default;
  synColor(const synColor&) = delete;
  synColor& operator=(const synColor&) = delete;
  ~synColor() { Release(); }

  // Allocates the named colour, freeing the previous one; false when the
  // name cannot be allocated (the colour is then unset).
  bool Set(const char* name);
  void Release();
  // Hands the pixel over to `to`, leaving this colour unset.
  void MoveTo(synColor& to);

  bool allocated() const { return allocated_; }
  synPixel pixel() const { return pixel_; }
  const std::string& name() const { return name_; }

 private:
  std::string name_;
  synPixel pixel_ = 0;
  bool allocated_ = false;
};
