// Syntax colouring joined to the toolkit: colours are allocated on the
// display, the default class colours are the configured ones, the language
// index is loaded once the configuration has been read, and every loaded
// file gets the language its name or first line calls for.
#pragma once

void app_StartSyntaxColouring();
void app_StopSyntaxColouring();
