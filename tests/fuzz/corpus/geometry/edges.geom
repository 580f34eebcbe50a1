DiffViewer 32767 -32767 32767 1
DiffViewer 0 0 0 0
	A	1	2	3	4