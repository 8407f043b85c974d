#pragma once

#include <string>

namespace taviro {

struct MainWindow;

// The catalogue view's loading cover: `wait` stands in for `Pic1` until the
// catalogue has loaded, and shows the error picture, which retries on a
// click, after a page of the service failed.

void OnCatalogueLoaded(MainWindow& window);
// Errors of outside addresses are left alone.
void OnCatalogueNavigateError(MainWindow& window, const std::string& address);
// The error picture over the catalogue: its service failed or never came.
void ShowCatalogueFailed(MainWindow& window);
// The `jia` click: clears the error and loads the catalogue again.
void RetryCatalogue(MainWindow& window);

// A failed advertisement page hides its panel for the rest of the run:
// view 7 is the pause panel `ad_huan`, view 8 the banner `bo_pad`.
void OnAdvertNavigateError(MainWindow& window, int view_number);

}  // namespace taviro
