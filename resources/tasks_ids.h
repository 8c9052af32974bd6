#pragma once
// Ids of the texts of the task model: the names of the URL-template generator kinds.
#define IDS_TEMPLATE_NUMBERS  293
#define IDS_TEMPLATE_STRINGS  295
#define IDS_TEMPLATE_CHARS    299
