// Storage of the variables the option tables set.  Everything starts at
// zero or null except the sizes, which start unset (-1x-1); the table
// defaults are applied by cfg_SetEverythingToDefaults.
#include "config/config_vars.h"

cfg_ColorSlot cfg_colors[CFG_COLOR_COUNT];

cfg_Size cfg_minviewsize{-1, -1}, cfg_maxviewsize{-1, -1},
    cfg_minwindowsize{-1, -1}, cfg_maxwindowsize{-1, -1},
    cfg_firstposition{-1, -1}, cfg_builderposition{-1, -1};

bool useFileRelLineBG, useProcRelLineBG;

int EditWidth, EditHeight;
bool colorsyntax, colorsyntax_string, colorsyntax_char, colorsyntax_deadcode,
    colorsyntax_comment, colorsyntax_keyword, colorsyntax_number,
    colorsyntax_customized;
bool cppCommentsInC;

char* cfg_font;
char* cfg_bigfont;
bool cfg_blackwhite;
bool vfCloseButtonOnTitleBar;
int cfg_clickpause;

char* cfg_application_title;
bool cfg_report_reading;
bool cfg_diff_refine = true;

int cfg_vc_type;
bool cfg_vc_disabled;
bool cfg_vc_clearcase;
char* cfg_vc_show_history_command;

char* cfg_temp_dir;

unsigned cfg_refresh_mask;
