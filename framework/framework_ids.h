// Ids the framework reserves for itself: string, command and window ids that the programs'
// resources use as well. Only #defines, so that resource scripts can include this header.
#pragma once

// Strings.
#define AFX_IDS_APP_TITLE 57344         // the application's title (also its registry name)
#define AFX_IDS_IDLEMESSAGE 57345       // idle text of the status bar's message pane
#define AFX_IDP_ASK_TO_SAVE 57346       // "save the changes?" prompt of the document
#define AFX_IDP_SAVE_HELP_ID 61699      // help context of that prompt
#define AFX_IDP_PARSE_INT 61712         // data exchange: text that is not an integer
#define AFX_IDP_PARSE_INT_RANGE 61714   // data exchange: integer out of range (%1, %2 = bounds)
#define AFX_IDP_PARSE_STRING_SIZE 61716 // data exchange: text too long (%1 = limit)

// Commands the framework carries out itself.
#define ID_APP_ABOUT 57664 // no handler in the framework: the program supplies the about box
#define ID_APP_EXIT 57665  // closes the main window

// Indicator list entry for the stretching message pane of a status bar.
#define ID_SEPARATOR 0

// Child window ids.
#define AFX_IDW_STATUS_BAR 59393 // the frame's status bar
#define AFX_IDW_PANE_FIRST 59648 // the frame's view
