// Stands in for the system's GL header in the layers that must build without GL or GLUT
// (src/files, src/view and the simulation core): GL and GLUT belong to src/render and src/app.
#error "a GL-free layer includes a GL or GLUT header; drawing belongs in src/render, windows in src/app"
