// Window, control and dialog style bits with their Windows values.
#pragma once

#define WS_POPUP 0x80000000u
#define WS_CHILD 0x40000000u
#define WS_VISIBLE 0x10000000u
#define WS_CAPTION 0x00C00000u
#define WS_BORDER 0x00800000u
#define WS_VSCROLL 0x00200000u
#define WS_SYSMENU 0x00080000u
#define WS_GROUP 0x00020000u
#define WS_TABSTOP 0x00010000u

#define WS_EX_DLGMODALFRAME 0x00000001u
#define WS_EX_CLIENTEDGE 0x00000200u

#define DS_SETFONT 0x40u
#define DS_MODALFRAME 0x80u
#define DS_FIXEDSYS 0x08u

#define BS_PUSHBUTTON 0x0u
#define BS_DEFPUSHBUTTON 0x1u
#define BS_GROUPBOX 0x7u
#define BS_OWNERDRAW 0xBu
#define BS_CENTER 0x300u

#define ES_AUTOHSCROLL 0x80u

#define SS_LEFT 0x0u
#define SS_ICON 0x3u
#define SS_BITMAP 0xEu
#define SS_NOPREFIX 0x80u

#define CBS_DROPDOWNLIST 0x3u
#define CBS_SORT 0x100u

#define LVS_REPORT 0x1u
#define LVS_SINGLESEL 0x4u
#define LVS_SHOWSELALWAYS 0x8u

#define LVS_EX_GRIDLINES 0x1u
#define LVS_EX_FULLROWSELECT 0x20u

#define SBS_HORZ 0x0u
#define SBS_VERT 0x1u
