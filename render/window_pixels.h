#pragma once
// Drawing over the picture in window pixels: what the step's bar and the mesh view's legend
// draw with, the GL state they touch given back when done.

#include <GL/gl.h>

// From construction to destruction: an orthographic view of the window in pixels from the
// lower left, no lighting, culling, depth test, blending, texture or alpha test, and filled
// polygons; the matrices and every attribute are restored after.
class WindowPixelsDrawing {
 public:
  WindowPixelsDrawing(int width, int height) {
    glPushAttrib(GL_ALL_ATTRIB_BITS);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, width, 0, height, -1, 1);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_ALPHA_TEST);
    glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
  }
  ~WindowPixelsDrawing() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glPopMatrix();
    glPopAttrib();
  }
  WindowPixelsDrawing(const WindowPixelsDrawing&) = delete;
  WindowPixelsDrawing& operator=(const WindowPixelsDrawing&) = delete;
};
