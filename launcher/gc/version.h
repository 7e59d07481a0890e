#pragma once
// The launcher's version numbers, shared by its version resource and by the
// values it passes to the outside libraries. Plain macros: windres reads this too.
#define KESTRO_GC_VERSION_MAJOR 2
#define KESTRO_GC_VERSION_MINOR 1
#define KESTRO_GC_VERSION_BUILD 4
#define KESTRO_GC_VERSION_REVISION 7
#define KESTRO_GC_FILE_VERSION_TEXT "2.1.4.7"
#define KESTRO_GC_PRODUCT_VERSION 3134
#define KESTRO_GC_PRODUCT_VERSION_TEXT "3134"
#define KESTRO_GC_BUILD_NUMBER 2147
#define KESTRO_GC_BUILD_NUMBER_TEXT "2147"
