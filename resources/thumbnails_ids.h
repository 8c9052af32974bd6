#pragma once
// Ids of the thumbnail views' bitmaps: what a thumbnail shows while its picture loads and when
// its picture cannot be read.
#define IDB_THUMBNAIL_FAILED   298
#define IDB_THUMBNAIL_WAITING  300
