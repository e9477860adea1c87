// The about box: the product, its version and what it does. Returns when it was closed.
#pragma once

void ShowAbout();
