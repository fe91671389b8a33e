#pragma once

// The product's name and version as the window title and the About dialog show them.
#define QUORVANE_PRODUCT_TITLE "My Quorvane (Remote Edition)"
#define QUORVANE_PRODUCT_VERSION "1.01.04.0"
