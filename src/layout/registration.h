// The layout's part of start-up.
#pragma once

namespace lemmabox {

// Fills the Size, Draw, Highlight, Click and Cursor entries of every
// expression type (and the Highlight, Click and Cursor entries of the
// notebook entries), and connects the image cache and the re-layout requests
// of the object store.
void RegisterLayout();

}  // namespace lemmabox
