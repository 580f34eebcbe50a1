// Pasting into text fields, private to the toolkit: the field's window gets
// a translation hook that takes the SelectionNotify answering its request.
#pragma once

class TextField;

void tf_installPasteHook(TextField* field);
