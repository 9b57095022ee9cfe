// Shift+T: the selected headline's title in a small dialog, to be read character by character.
#pragma once

bool ShowTitleDialog();  // 580
