DiffViewer 10 20 800 600
DiffViewerChooser -5 -5 400 300
bad line
DiffViewer 0 0 1 1
X 1 2 3
