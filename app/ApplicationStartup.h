#ifndef APPLICATIONSTARTUP_H
#define APPLICATIONSTARTUP_H

// Process-wide set-up that main() does before the main window exists.

// Makes the default OpenGL surface format: version 4.3 core profile where the
// OpenGL module is desktop OpenGL, and always a 24-bit depth buffer, an 8-bit
// stencil buffer and 4 samples.
void setDefaultSurfaceFormat();

// Loads the compiled-in fonts: the light Open Sans face first, then every
// TrueType face of the Open Sans and Source Code Pro folders. A face that
// fails to load is skipped.
void loadApplicationFonts();

#endif // APPLICATIONSTARTUP_H
