// Resource identifiers shared by the .rc file and the code.
#pragma once

#define IDI_ZEMLO 1
#define IDR_ABOUT_JPEG 101
