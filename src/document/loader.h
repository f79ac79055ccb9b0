// Loading a Document from its data files.
#pragma once

#include <string>

#include "document/data_pool.h"
#include "document/view_list.h"

namespace varnex {

class MessageBoxes;

// Opens path as a new graph in the current view: releases the pool, reads the file (graph title
// included), gives its sets the line scheme and automatic limits, applies the file's closing
// directives, and normalises. Returns the number of data sets. On failure (the file cannot be read or
// holds no numbers) the first view is emptied and becomes the only view, and "不正なデータです。" is
// shown with the error caption; 0 is returned.
int openNewDocument(ViewList& views, const std::string& path, DataPool& pool, MessageBoxes& messages);

}  // namespace varnex
