// Resource ids of the notification-area pictures.
#pragma once

#define IDI_TRAY_DEVICE 2101     // 32 x 32 grey device, shown until the port's state is known
#define IDI_TRAY_PORT_OPEN 2102  // the reader in green
#define IDI_TRAY_PORT_FAILED 2103  // the reader in red
#define IDB_TRAY_MENU_STRIP 2104   // 128 x 32, four menu pictures on light grey
