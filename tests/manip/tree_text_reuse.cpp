// The object store's compact tree notation, shared with its own tests.
#include "mathobj/tree_text.cpp"
