// gui/widgets: the controls of dialogs and tool bars: buttons and button
// sets with their pictures, text fields and their editing model, static
// texts, the message line, splitters, and modal dialogs (alerts, button
// dialogues, prompts).  Builds on gui/core, gui/x11 and base/.
//
// The public headers, which the rest of the program may include:
#pragma once

#include "gui/widgets/alert.h"             // a modal alert
#include "gui/widgets/bitmap.h"            // the toolkit's named pictures
#include "gui/widgets/button.h"            // buttons, button sets, spin pairs
#include "gui/widgets/dialog.h"            // modal dialogs and button dialogues
#include "gui/widgets/message_line.h"      // a window's message line
#include "gui/widgets/prompt.h"            // a modal one-line prompt
#include "gui/widgets/splitter.h"          // draggable bars between panes
#include "gui/widgets/static_text.h"       // a label
#include "gui/widgets/text_field.h"        // an editable one-line field
#include "gui/widgets/text_field_model.h"  // its text, caret and selection
