#pragma once
// Resource ids of the tasks tree and its task commands.
#define IDB_TASKS_TREE                 224

#define IDS_TREE_ROOT                  174
#define IDS_RESTART_QUESTION           175
#define IDS_RESTART_QUESTION_END       176
#define IDS_RELOAD_QUESTION            177
#define IDS_RELOAD_QUESTION_END        178
#define IDS_LOCATE_IMAGES_TITLE        179
#define IDS_NEW_FOLDER                 180
#define IDS_DELETE_TASK_QUESTION       181
#define IDS_DELETE_FOLDER_QUESTION     182
#define IDS_DELETE_FOLDER_QUESTION_END 183
// The closing "'?" of a question (shared with the options dialogs).
#define IDS_TREE_QUESTION_END          136
// Clearing a task's folder: the question and the refusals.
#define IDS_CLEAR_FOLDER_QUESTION      4701
#define IDS_CLEAR_FOLDER_UNSAFE        4702
#define IDS_CLEAR_FOLDER_BUSY          4703
#define IDS_CLEAR_FOLDER_FAILED        4704
