// The string resources the bar and the dialogs load, one name per number. Plain
// macros: the resource scripts read this file too.
#pragma once

#define IDS_HOMEPAGE 1008      // the home page's address (the bar's logo, the About box's link)
#define IDS_HOMEPAGE_TIP 1010  // the link's tooltip; also the logo's hover label
#define IDS_SEND_TIP 1101      // the Send button's tooltip
#define IDS_RANKING_URL 1103   // the ranking page's address
