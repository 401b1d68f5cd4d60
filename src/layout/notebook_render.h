// Whole notebooks on a port: laying out a Main Theory and drawing it, and
// the notebook as one EPS picture or one PostScript page (what
// `lemmabox-cli convert NOTEBOOK OUT.eps` writes).
#pragma once

#include "layout/context.h"
#include "ports/output_sink.h"
#include "ports/postscript_port.h"

namespace lemmabox {

// Lays a notebook out for env. Cached sizes are reused, so the caller
// invalidates the tree (InvalidateTree) when env is not the one the
// notebook was last laid out for. The Main Theory's box starts at (0, 0).
LayoutBox LayOutNotebook(Handle mainTheory, const LayoutEnv& env);

// Draws a laid-out notebook with its top-left corner at origin; only what
// meets clip is drawn.
void DrawNotebook(Handle mainTheory, const LayoutEnv& env, GraphicsPort& port, const Rect& clip,
                  Point origin = {});

struct NotebookRenderOptions {
  // Icons are shown as when printing: only with the icon mode "Always".
  bool printing = true;
  // The page set-up of the output (resolution, title, date ...); whether
  // it is EPS is decided by the function called.
  PostScriptOptions postScript;
};

// The whole laid-out notebook as one EPS picture whose bounding box is the
// notebook's size. The notebook is laid out afresh for the picture and
// left needing a new layout; a window showing it is asked to refresh.
// Returns the picture's size in port units (points at 72 units per inch).
Point RenderNotebookEps(Handle mainTheory, OutputSink& sink,
                        const NotebookRenderOptions& options = {});

// The same as a PostScript document of one page the size of the notebook.
Point RenderNotebookPostScript(Handle mainTheory, OutputSink& sink,
                               const NotebookRenderOptions& options = {});

}  // namespace lemmabox
