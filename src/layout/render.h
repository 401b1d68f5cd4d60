// Laying out and drawing a single expression on any port: for EPS export of
// expressions, the command-line tool and tests.
#pragma once

#include "layout/context.h"
#include "ports/output_sink.h"
#include "ports/postscript_port.h"

namespace lemmabox {

// The size of expr laid out for a port (width including automatic brackets).
LayoutBox MeasureExpression(GraphicsPort& port, Handle expr, const NotebookStyle& style,
                            int level = kLevelMain);

// Lays expr out for the port and draws it with its top-left corner at
// origin. A copy is laid out, so the cached layout of expr (on screen, say)
// stays as it is. Returns the size drawn.
LayoutBox RenderExpression(GraphicsPort& port, Handle expr, const NotebookStyle& style,
                           Point origin, int level = kLevelMain);

// An EPS picture of expr with a margin of `margin` port units on every side.
// Returns the size of the picture in port units (points at the options'
// default of 72 units per inch).
Point WriteExpressionEps(OutputSink& sink, Handle expr, const NotebookStyle& style,
                         const PostScriptOptions& options = {}, int32_t margin = 2);

}  // namespace lemmabox
