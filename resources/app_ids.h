#pragma once
// Ids of the program-wide texts: message-box captions, the idle status text, the file filter.
#define IDS_CAPTION_WARNING   131
#define IDS_CAPTION_QUESTION  137
#define IDS_CAPTION_ERROR     149
#define IDS_FILTER_ALL_FILES  190
#define IDS_STATUS_READY      57345
#define IDS_HELP_FILE_MISSING    363
#define IDS_HELP_FILE_UNOPENED   364
