// The texts of the string table. Spacing inside and at the end of a text is
// part of it: sentence templates are indented with blanks, and some alert
// texts end in blanks.
#include "shell/strings.h"

#include <algorithm>
#include <iterator>

namespace lemmabox {
namespace {

struct TableEntry {
  int id;
  const char* text;
};

// Sorted by id; a test checks the order.
constexpr TableEntry kTable[] = {
    {kStrInformation, "Information"},
    {kStrSaveFileQuestion, "Save the file %s ?"},
    {kStrLanguageName, "English"},
    {kStrCannotReManipulate, "Cannot ReManipulate this Conclusion:  "},
    {kStrDefaultPrintHeader, "?n             page ?p?a"},
    {kStrLim, "lim"},
    {kStrNameDeclarationSentence, "&1i A &2p named &3t behaves as &4p."},
    {kStrIndependenceSentence, "&1i The variables &2t are independent of &3p."},
    {kStrTransformationRuleSentence, "&1i Upon &2p transform &3t into &4t."},
    {kStrLinePlotSentence, "&1i Line at &2t where &3t with a &4p line, colored &5p."},
    {kStrAxisPlotSentence, "&1i Axis at &2t where &3t labeled &4t on &5p colored &6p."},
    {kStrGridPlotSentence,
     "&1i Grid lines at &2t where &3t for each value &4t separated by &5t colored &6p."},
    {kStrContourPlotSentence, "&1i Contours at &2t where &3t and &4t; &5p spaced contours of &6t."},
    {kStrSurfacePlotSentence,
     "&1i Surface at &2t where &3t and &4t; &5p surface has &6p and is shaded using &7p coloring;"},
    {kStrDensityPlotSentence, "&1i Surface at &2t where &3t and &4t."},
    {kStrSolidColoringSentence, "        &1p is the solid color."},
    {kStrColorRangeSentence, "        &1t selects a color from &2p ... &3p."},
    {kStrColorSchemeSentence, "        &1t selects from the color scheme &2p."},
    {kStrBrightnessHueSentence,
     "        &1t determines brightness and hue (from magnitude and phase)."},
    {kStrColorComponentsSentence, "        &1t determines the color components &2p."},
    {kStrScatterPlotSentence, "&1i Scatter plot of &2t where &3t using &4t point &5p colored &6p."},
    {kStrHorizontalBoundsLine, "          &1t = left...right      &2p"},
    {kStrVerticalBoundsLine, "          &1t = bottom...top    cropping &2p"},
    {kStrEastWestBoundsLine, "          &1t = west...east         &2p"},
    {kStrSouthNorthBoundsLine, "          &1t = south...north     cropped &2p"},
    {kStrLensBoundsLine, "          &1t = bottom...top     as seen through a &2p lens"},
    {kStrAnimationLine,
     "   Animate this graph for &1t in steps of &2t for a total of &3t frames &4p at &5p."},
    {kStrHelpOperator, "An operator.  Click to select it, or drag across it to select a part."},
    {kStrHelpEquation, "An equation.  Click on the = sign to select the whole equation."},
    {kStrHelpInequality, "An inequality.  Click on its sign to select the whole relation."},
    {kStrHelpSum, "A sum.  Drag across some of its terms to select them together."},
    {kStrHelpIntegral, "An integral.  Its differential names the variable of integration."},
    {kStrHelpSummation, "A summation.  The index runs from the start value to the end value."},
    {kStrHelpIteratedProduct,
     "A product over an index running from the start value to the end value."},
    {kStrHelpNegation, "A negation."},
    {kStrHelpQuestionMark, "A question mark: a place still to be filled in.  Type to replace it."},
    {kStrHelpConditional,
     "A conditional: the first row whose condition is not zero gives the value."},
    {kStrHelpWildcard, "A wildcard variable: it stands for any expression of its kind."},
    {kStrHelpEvaluateAt,
     "Evaluate At: the expression at the upper value minus the expression at the lower value."},
    {kStrHelpForAll, "For All: the expression holds wherever the condition holds."},
    {kStrHelpLimit, "A limit."},
    {kStrHelpMatrix, "A matrix.  Use Select In to reach a single element."},
    {kStrHelpUndeclaredName, "An undeclared name.  Choose Clarify to give it a declaration."},
    {kStrHelpNameBeingDeclared, "The name that this declaration declares."},
    {kStrHelpConstant, "A name of class Constant."},
    {kStrHelpVariable, "A name of class Variable."},
    {kStrHelpOperatorName, "A name of class Operator."},
    {kStrHelpFunction, "A name of class Function."},
    {kStrHelpTableFunction, "A function defined by a table."},
    {kStrHelpTableName, "The function that this table defines."},
    {kStrHelpPredefinedName, "A predefined name."},
    {kStrHelpPredefinedFunction, "A predefined function."},
    {kStrHelpNumber, "A number."},
    {kStrHelpIcon, "The icon of this proposition.  Click here to select the whole proposition."},
    {kStrHelpAssumption, "An assumption: an equation or expression that you typed."},
    {kStrHelpConclusion, "A conclusion: derived from other equations by manipulations."},
    {kStrHelpConclusionSteps, "The manipulations that derived this conclusion."},
    {kStrHelpWorkingStatement,
     "A working statement: it gives a value or a definition used in calculation."},
    {kStrHelpPageBreak, "A page break."},
    {kStrHelpCaseTheory, "A case theory: the propositions that hold in one case."},
    {kStrHelpPredefinedDeclaration, "The declaration of a predefined name."},
    {kStrHelpNameDeclaration, "A name declaration: it tells the class of a name you use."},
    {kStrHelpIndependence, "An independence declaration."},
    {kStrHelpTransformationRule, "A transformation rule."},
    {kStrHelpTable, "A table of values of a function."},
    {kStrHelpComment, "A comment."},
    {kStrHelpSurfacePlot, "A surface plot."},
    {kStrHelpContourPlot, "A contour plot."},
    {kStrHelpScatterPlot, "A scatter plot."},
    {kStrHelpLinePlot, "A line plot."},
    {kStrHelpAxisPlot, "An axis."},
    {kStrHelpGridPlot, "Grid lines."},
    {kStrHelp2DGraph, "A 2D graph.  Click inside it to work with its plots."},
    {kStrHelp3DGraph, "A 3D graph.  Click inside it to work with its plots."},
    {kStrHelpSelectedExpression, "A selected expression.  Drag it to move or copy it."},
    {kStrHelpSelectedProposition, "A selected proposition.  Drag it to move or copy it."},
    {kStrUntitledPattern, "UNTITL%d.AXN"},
    {kStrStartupPattern, "NOTEBK%d.AXN"},
    {kStrNewNotebookTemplate, "NEWNOTE.AXN"},
    {kStrProgramName, "Lemmabox"},
    {13120, "Canceled by User Interrupt"},
    {13121, "You are out of memory.  You need more memory to continue."},
    {13122, "An error has occurred - please check the printer"},
    {13123, "Print Manager is not successfully loaded.  Check the printer set-up and try again."},
    {13124, "Printing was cancelled"},
    {13125, "No more disk space for the spooler file.  Free some disk space and print again."},
    {13126, "Insufficient memory is available for printing.  Close some notebooks and try again."},
    {13127, "File access denied.  You may not have permission to read or write this file."},
    {13128, "Not enough memory to continue!"},
    {13129, "This program can not be run in real mode."},
    {13130, "Runaway recursion - out of stack space"},
    {13131, "A system error has occurred - please contact Tarno."},
    {13132, "Attempt to open a file that doesn't exist"},
    {13133, "An attempt was made to allocate too much memory.  The operation has been stopped."},
    {13134, "Couldn't find the name of the configuration file."},
    {13136, "Couldn't allocate memory to load the color palette."},
    {13137, "Couldn't load the color palette."},
    {13138, "Couldn't load internal font list."},
    {13139, "Couldn't initialize the Abort dialog box, so printing cannot start."},
    {13140, "No printer device drivers were found.  Install a printer and try again."},
    {13141, "No default printer was found.  Choose a printer and try again."},
    {13142, "Printer not found.  Choose another printer and try again."},
    {13143, "No fonts exist, so Lemmabox cannot draw any text."},
    {13144, "Error during initialization of OLE server."},
    {13145, "Error during OLE server registration."},
    {13146, "Error registering an OLE document."},
    {13147, "Sorry, that feature is unimplemented."},
    {13148, "Sorry, the data has been corrupted; it cannot be reconstructed."},
    {13151,
     "*** OUT OF MEMORY *** \nThe program is out of memory!  It must now quit.  All files will be "
     "saved, if possible.  Please allow more memory in the future."},
    {13152,
     "*** OUT OF MEMORY *** \nThe plug-in is out of memory!  It must stop showing this notebook.  "
     "Please allow more memory in the future."},
    {13155,
     "This data is from a more advanced version of this program; not all features from the more "
     "advanced version will be supported in this version."},
    {13156,
     "Sorry, that picture or file was made by an unfamiliar version of software.  This version "
     "can't understand it."},
    {13157, "too many levels of composites in this picture; it cannot be read."},
    {13158,
     "Sorry, there are too many font families represented in this equation.  Please limit your "
     "fonts to a few dozen."},
    {13159, "You cannot do an unmark that way."},
    {13160,
     "This expression was made by some system other than Formulascribe, so it might not be read "
     "correctly."},
    {13161,
     "Formulascribe couldn't understand this expression entirely; parts of it might be missing."},
    {13162, "This .CAT translation table file has an illegal format."},
    {13163, "Can't read in the CAT tables file."},
    {13164, "too many occurrences of ?{ in this translation table entry."},
    {13165, "too many occurrences of ?} in this translation table entry."},
    {13166,
     "Can only do this insertion from inside a matrix.  Select a matrix, then Select In, then try "
     "again."},
    {13169, "This is an internal error.  Please save your work and contact technical support."},
    {13170,
     "Internal Error: tried to get a real/int non-constant.  You should never see this.  Call the "
     "technical support if you do."},
    {13171,
     "Sorry, cannot ReApply this conclusion.  The remanipulation data has been corrupted.  If you "
     "can remember how you made this, please contact technical support."},
    {13172,
     "The selection contains a D-Linear operator but doesn't extend to the end of the product."},
    {13173,
     "This expression is too large.  You can't process a sum or product with more than 32,000 "
     "terms in it."},
    {13174,
     "This expression has a circular definition in it.  You can use circular definitions, but this "
     "one used up all of memory.  It might be infinitely recursive."},
    {13175,
     "Warning: that file was created by a newer version of Lemmabox.  The file might be "
     "unreadable, but Lemmabox will try anyway."},
    {13176,
     "Warning: that file was created by an older version of Lemmabox.  The file might be "
     "unreadable, but Lemmabox will try anyway."},
    {13177, "PC style textfile, but not on a PC; the line ends will be converted."},
    {13178,
     "You have several windows open onto the same notebook already.  Please use one of those "
     "instead."},
    {13179, "Sorry, a range must be written in the form: \nvariable = a...b"},
    {13180, "A range must be written in the form: \nmin...max"},
    {13181,
     "Sorry, this has no name declaration, and it can't be used in this way until it does.  "
     "(Choose 'Clarify' from the Notebook menu.)"},
    {13182,
     "Intermediate Var found.    You should never see this.  Call technical support if you do."},
    {13183, "Sorry, this predefined variable or function can't be used in this way."},
    {13184,
     "Your range variable has been declared independent of all other variables.  You should remove "
     "that independence declaration to make this graph work."},
    {13185,
     "These variables have all been declared independent of the independent variable.  You should "
     "remove that independence declaration to make this graph work."},
    {13186,
     "The data region for the graph has boundaries that are too close together, probably touching. "
     " Click on the Rocket icon, or type in different numbers."},
    {13187,
     "The starting and ending values for this animation are too close together, probably touching. "
     "Please type in different numbers."},
    {13188,
     "You need to specify the number of frames in your animation.  This number is not acceptable.  "
     "Please type in a new number."},
    {13189, "already a definition like this in effect; the new one is not needed."},
    {13190,
     "This doesn't work with an infinite, unknown or undefined value.  Replace it with a usable "
     "value."},
    {13191,
     "You can't make a working statement out of a statement like that.  It's all wrong.  See the "
     "manual."},
    {13192,
     "To make a working statement for an increment, it must be an equation or a table.  The name "
     "must be user-defined.  Indices must be names or integers (\xB1"
     "30000)."},
    {13193, "function argument list should be a row vector, like (x, y)."},
    {13194,
     "When you define a function, the argument(s) must be wildcard variables.  Type a question "
     "mark (?) and then some letter."},
    {13195,
     "When you define a function, the argument(s) must be different wildcard variables.  You had "
     "two that were the same."},
    {13196,
     "When you define a function, the name of the function must be a name of class Function.  It "
     "can have subscripts; indices must be names or integers (\xB1"
     "30000)."},
    {13197,
     "To make an order working statement, the left hand side must be a name (possibly subscripted) "
     "with an integer exponent."},
    {13198, "To make an order working statement, the right hand side must be zero."},
    {13199,
     "To make a working definition, the left hand side must be just a user-defined name, possibly "
     "with subscript.  Indices must be names or integers (\xB1"
     "30000)."},
    {13200,
     "The left hand side must be a user-defined name, possibly with subscript.  If it's Function "
     "class, it must have wildcard argument(s).  If not, it must not have arguments."},
    {13201,
     "You can't make a working definition that defines a name to be itself.  Change it and try "
     "again."},
    {13202,
     "Lemmabox cannot find this important file; you should check your installation or reinstall "
     "Lemmabox."},
    {13203,
     "Sorry, you can't put a page break in the middle of a line.  Put it at the beginning of a "
     "line by itself.  "},
    {13204, "Sorry, you must specify both limits for a summation or pi product."},
    {13205,
     "You can't do a Copy or Cut from a multiple selection; there is only one clipboard.  Try "
     "copying and pasting one thing at a time."},
    {13206,
     "Sorry, there's a limit to the number of selections you can have at once.  You just reached "
     "it."},
    {13207, "Your selections are incompatible because they come from different theories."},
    {13208,
     "To lock a collapsed proposition, you must select one and only one proposition, and it must "
     "be collapsed already."},
    {13209, "Sorry, you can't do that to a locked proposition."},
    {13210, "That's the longest name or number that you can have."},
    {13211, "select something, then Get Info."},
    {13212,
     "Sorry, you can't delete individual question marks that are so close together.  Drag-select "
     "over them and try again, or delete them one at a time."},
    {13213,
     "Sorry, there were too many changes to undo all of them.  Some of the things you deleted "
     "might not be restored."},
    {13214, "command only works on comment selections; select some comment text first."},
    {13215, "select a matrix before adding a row or column."},
    {13216,
     "That file is locked, or in use by some other program.  You will not be able to save it to "
     "its original file, but you can save it elsewhere."},
    {13217,
     "If you want to use this file with the Netscape plug-in, you should change the name so that "
     "it ends with '.axp'."},
    {13218, "The print header is too long.  Please shorten it and click OK."},
    {13219, "function name has more than one working definition; switch off all but one of them."},
    {13220, "predefined name that this version doesn't have; it is treated as defined by user."},
    {13221,
     "Sorry, this name has no declaration.  (If this is not a spelling mistake, you can fix it up "
     "by choosing 'Clarify' from the menus.)"},
    {13222,
     "This name was declared twice.  The first declaration will be selected; you should probably "
     "press Delete once to delete it, unless they are different."},
    {13223,
     "This declaration has a bad name.  It must be a word of one or more Roman or Greek letters, "
     "or symbols (see the palette)."},
    {13224,
     "This name declaration has a problem that you need to fix before you can proceed.  Retype its "
     "name as a simple word, or else delete the whole name declaration."},
    {13225,
     "You can't do an independence declaration this way.  You must have either a single variable, "
     "or a list of variables (use comma)."},
    {13226, "You cannot have two independence declarations for the same variable."},
    {13227,
     "Sorry, you can't define the order of approximation for a variable to be less than zero or "
     "more than 250."},
    {13228, "no user-defined names in this notebook."},
    {13229,
     "no declaration for one of the arbitrary constants of this integral; declare it and try "
     "again."},
    {13230,
     "I need to make the predefined name above, but this notebook has no declaration for it."},
    {13231,
     "You did this partial derivative incorrectly.  It should be taking a derivative with respect "
     "to a variable."},
    {13232, "This is no longer an equation that we can use to calculate with."},
    {13233,
     "You can't do a conditional that way.  Make sure that there is a matrix inside of it.  The "
     "matrix must have two columns."},
    {13234,
     "This 'Evaluate At' op is strange.  The two arguments on the left must be equations of the "
     "form\n  variable = expression\nThey must be the same variable."},
    {13235, "can't use this subscript; subscripts must be names or integers."},
    {13236,
     "Sorry, you cannot do a dot product that way.  You must have two row or column matrices, and "
     "they must have the same number of components."},
    {13237,
     "Sorry, you cannot do a cross product that way.  The factors must both be 2-vectors or must "
     "both be 3-vectors."},
    {13238, "Sorry, Lemmabox can't take the derivative of this."},
    {13239, "Sorry, Lemmabox can't take the integral of this."},
    {13240,
     "Lemmabox can't evaluate this function because it is undefined or its syntax is wrong.  Check "
     "the reference manual for more details."},
    {13241, "This is a function name, not a variable name."},
    {13242,
     "This summation or product is incorrect.  You need a variable that is declared 'Variable' "
     "(not 'Constant' or anything else) for the index.  (Try Get Info.)"},
    {13243, "The subscript for this matrix or list was out of bounds (too high)."},
    {13244, "Subscript for this matrix or list was too low (starts at 1)."},
    {13245,
     "This is the wrong number of arguments for this function call.  Check the manual and modify "
     "your expression."},
    {13246, "Sorry, this function has too many arguments."},
    {13247,
     "This integral has no suitable differential in it!  Select the integrand, type '*', then 'd', "
     "then a space, then 'x' (or whatever your variable is)."},
    {13248, "Two or more differentials in this integral; an integral can have only one."},
    {13249,
     "The differential variable is a constant.  Integration cannot proceed.  You might have a "
     "working statement setting it to a constant value."},
    {13250, "Sorry, these matrices are too large to work on."},
    {13251,
     "Sorry, but to multiply two matrices, the columns of the first must be the same as the rows "
     "of the second.  (For scalar products, try the dot product.)"},
    {13252, "This matrix must be square if you want its determinant or inverse."},
    {13253,
     "Sorry, but you cannot subscript a vector or matrix that way.  Use two integers in a list, "
     "for instance (2,5)."},
    {13254, "should have been a vector or matrix, not a single number."},
    {13255, "This should have been a scalar number, not a vector or matrix."},
    {13256,
     "This should have been a real-valued 2-vector.  It wasn't.  You should fix this before "
     "continuing.  "},
    {13257,
     "This needs to be a real-valued 3-vector.  It isn't.  You should fix this before continuing. "
     " "},
    {13258,
     "Sorry, Lemmabox cannot add matrices unless they have the same number of rows, and same "
     "number of columns."},
    {13259,
     "Before you do a manipulation, you must select what to manipulate.  (You can click on an = "
     "sign to select a whole equation.)"},
    {13260,
     "You should select something substantial to manipulate.  A blinking caret isn't enough; click "
     "down and drag the cursor and select what you want."},
    {13261,
     "Lemmabox cannot calculate this expression to a numeric value; it is something that is too "
     "abstract or ambiguous."},
    {13262,
     "This evaluates to a complex number, but in this situation Lemmabox needs a real number."},
    {13263,
     "This is either too large or too strange to be used for this purpose.  Please limit this to "
     "more reasonable numbers."},
    {13264, "Lemmabox cannot find a value for this variable."},
    {13265,
     "Sorry, Out of Calculation space.  You might have tried to calculate something that was too "
     "big."},
    {13266,
     "Sorry, but because Auto Casing is on, too many special cases are automatically generated, "
     "and so we can't follow all of them.  (Try doing steps one at a time.)"},
    {13267, "Sorry, that denominator is too large to do a partial fraction decomposition on it. "},
    {13268, "You can't do a Commute that way.  Try selecting along a sum, product or dot product."},
    {13269,
     "Sorry, but you can't commute all of those factors - they don't all commute with each other.  "
     "Do a Get Info on each to find the culprit."},
    {13270, "Can't Isolate any further than this."},
    {13271,
     "You can't do a Substitute like that.  Try selecting (with shift click) both an equation "
     "(telling what to change to what) and a target expression.  "},
    {13272,
     "Int. by Parts: Select the dv part, INCLUDING the differential, by dragging and/or "
     "shift-clicking.  Then try again.  (Use Simplify to do a simple integral.)"},
    {13273,
     "You can't do an integrate by parts on an integral with limits.  Simplify the integral first "
     "to separate out the limits."},
    {13274,
     "You can't do an Apply that way.  Click on the = or on the fraction bar, then choose Apply."},
    {13275, "Please select only the expression that you want to approximate, and try again."},
    {13276,
     "Lemmabox can't process this derivative for some reason.  Your Taylor series will end with "
     "the current term.  (You may need an appropriate Independence Declaration.)"},
    {13277,
     "You can't use an expansion point that is the same variable that you are expanding around!  "
     "Use a constant name, one that you can substitute a number into later."},
    {13278, "Please choose a variable that you want to take the Taylor series along."},
    {13279, "Can't isolate because this isn't an equation."},
    {13280, "an equation it depends upon has been deleted."},
    {13281,
     "The original selection is no longer available.  You may be able to redo that step and "
     "connect the result to this with Divert Cascade."},
    {13282,
     "The manipulation doesn't make sense on this expression anymore.  You may be able to redo "
     "that step and connect the result to this with Divert Cascade."},
    {13283, "manipulation cannot be completed."},
    {13284, "There is no cascade to break.  Choose a conclusion and try again."},
    {13285,
     "This is no longer an equation so we can't draw a graph of it.  Change it back to the way it "
     "was and click on the graph to redraw."},
    {13286,
     "The expression no longer matches the pattern in the Transformation rule.  You may be able to "
     "redo that step and connect the result to this with Divert Cascade."},
    {13287, "You must select two equations, probably conclusions in the middle of a derivation."},
    {13288, "You cannot do that.  That would make a conclusion that derives from itself."},
    {13289,
     "There is an error in one of the other equations this depends upon.  You may be able to redo "
     "that step and connect the result to this with Divert Cascade."},
    {13290,
     "There was an error in this conclusion when it was saved.  You may be able to recreate the "
     "situation by clicking here."},
    {13291,
     "This derivation breaks up into multiple cases, but this case doesn't exist any more.  You "
     "might want to re-do the derivation."},
    {13292,
     "This derivation breaks up into multiple cases, but not all of them have case theories "
     "devoted to them.  This is the last in its series.  You might want to re-do the derivation."},
    {13293,
     "This substitution cannot be done anymore because the equation that was used to do it is no "
     "longer an equation."},
    {13294,
     "To find a simple root, take a 2D graph with a line plot in it, zoom in to a zero crossing, "
     "then choose Find Graph Root.  (Zoom in close!)"},
    {13295, "Lemmabox couldn't find the root.  Try zooming in closer with the Knife tool."},
    {13296,
     "To find a double-contour root, take a 2d graph with two contour plots.  Zoom in on the "
     "intersection of zero contours.  Then choose Find Root."},
    {13297,
     "all selections must be equations (ODE system) when you integrate differential equations."},
    {13298, "click in the differential equation that you want to integrate, then try again."},
    {13299, "left side must be a derivative in each differential equation."},
    {13300,
     "Sorry but you cannot do a manipulation on an entry in a table or name declaration.  Instead, "
     "copy it out and manipulate it in an equation."},
    {13301,
     "When you tabulate a variable, you must also specify what variable it is a function of.  For "
     "example, instead of 'y' you should specify 'y(x)'."},
    {13302,
     "You cannot tabulate just anything; it must be either a function name, or else a variable "
     "before parentheses enclosing another, like 'y(x)'."},
    {13303,
     "Sorry, the data file has three columns of data, but you are trying to read it into a real "
     "table.  Instead, try making a complex table, or try just pasting it into the notebook."},
    {13304,
     "Sorry, the data file has too many columns of data.  It must have one or two (for a real "
     "table) or two or three (for a complex table)."},
    {13305,
     "Sorry, the data file has different numbers of values on each line.  Each line must have the "
     "same number (1, 2 or 3) of values.  (Values can't contain commas.)"},
    {13306,
     "Sorry, the data file has domain (x) values, but they are inconsistently spaced.  Lemmabox "
     "has changed the domain to a simple default."},
    {13307,
     "Lemmabox couldn't figure out how to add a new plot to the graph.  You need to have a graph "
     "nearby to use this command.  Make a graph first."},
    {13308, "Please choose an equation to plot, and choose Implicit again."},
    {13309,
     "Lemmabox couldn't find a graph to make a graphics file out of.  You need to have a graph in "
     "your notebook to use this command.  Make a graph first."},
    {13310,
     "Too many grid lines for this grid line plot.  You cannot have more than 500 grid lines in "
     "one grid line plot."},
    {13311,
     "To use the knife in a 3D graph, click it on one of the surface panels (or a piece of contour "
     "area)."},
    {13312,
     "To Animate: Create a graph.  Incorporate 'a' into the equation(s) [or some other variable].  "
     "Then select 'a' and choose Graph > Animation > Start."},
    {13313,
     "You don't seem to have enough memory to hold all animation frames at the present time.  "
     "Animation won't be smooth.  (Try resizing the graph smaller.)"},
    {13314, "You can't save an animation file unless there is at least one frame in it."},
    {13315,
     "Lemmabox can't get the animation to work so that it can be saved.  No movie file will be "
     "created."},
    {13316,
     "Sorry, you can't have more than one contour plot in a 3D graph.  (You can in a 2D graph, "
     "though.)  You should open the graph up and delete one."},
    {13317,
     "To draw a graph of a table, the name must be filled in, either like 'f' or like 'y(x)'."},
    {13318,
     "To draw a scatter plot, you must select a table, or else select an equation 'A = [matrix]'.  "
     "The matrix must have two or three columns.  The variable must be M-Linear."},
    {13319,
     "Sorry, but Lemmabox has to know what variable corresponds to what coordinate.  To make a 2D "
     "graph, need two variables. "},
    {13320,
     "Sorry, but Lemmabox has to know what variable corresponds to what coordinate.  To make a 3D "
     "graph, you need three variables. "},
    {13321,
     "Sorry, but Lemmabox has to have more independent variables for this kind of graph.  If they "
     "are not in the equation, you must choose them from the dialog. "},
    {13322,
     "Sorry, but Lemmabox has to have more dependent variables for this kind of graph.  If they "
     "are not on the left of the equation, you must choose them from the dialog. "},
    {13323,
     "You are trying to plot a complex-valued table, which doesn't show in real-valued space.  "
     "Lemmabox will plot the real part of the table.  (Change details for imaginary part.)"},
    {13324,
     "To take a Fourier Transform, select a table, not an expression.  You might want to generate "
     "a table from your expression; choose 'Generate...' from the Manipulate Table menu."},
};

const char* gVersionText = nullptr;

}  // namespace

const char* StringTableText(int id) {
  if (id == kStrVersion) return gVersionText;
  auto it = std::lower_bound(std::begin(kTable), std::end(kTable), id,
                             [](const TableEntry& e, int key) { return e.id < key; });
  if (it == std::end(kTable) || it->id != id) return nullptr;
  return it->text;
}

void SetVersionText(const char* version) {
  gVersionText = version;
}

}  // namespace lemmabox
