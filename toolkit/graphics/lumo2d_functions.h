// The 2D renderer's module functions. Each reads or stores the state of the
// current record (TLumo2DGraphics::Current()) and forwards to the current
// renderer driver; with no graphics open they raise TNullObjectException.
// Every setter stores its value before sending it, so that Validate can send
// the whole state again.
#pragma once

#include <vector>

#include "toolkit/graphics/lumo2d_graphics.h"
#include "toolkit/resources/pixmap.h"

namespace kestrel {

// Clears the viewport (the whole picture when no viewport is set) to the
// clear colour.
void Cls();
// The colour Cls clears to, 0..255 each (default black).
void SetClsColor(int red, int green, int blue);
// The colour Cls clears to.
void GetClsColor(int& red, int& green, int& blue);
// The colour of everything drawn from now on, 0..255 each (default white);
// images are tinted by it.
void SetColor(int red, int green, int blue);
// The drawing colour.
void GetColor(int& red, int& green, int& blue);
// The alpha of everything drawn from now on, 0 (invisible) to 1 (opaque);
// it takes effect in the ALPHABLEND, LIGHTBLEND and SHADEBLEND modes. Values
// outside 0..1 are clamped when drawing.
void SetAlpha(float alpha);
// The alpha as SetAlpha gave it (not clamped).
float GetAlpha();
// How drawing mixes with the picture: SOLIDBLEND, MASKBLEND (default),
// ALPHABLEND, LIGHTBLEND or SHADEBLEND (blend_modes.h).
void SetBlend(int mode);
// The blend mode.
int GetBlend();
// The width of lines in pixels (default 1).
void SetLineWidth(float width);
// The line width in pixels.
float GetLineWidth();
// An offset added to every drawing position (default 0, 0).
void SetOrigin(float x, float y);
// The drawing origin.
void GetOrigin(float& x, float& y);
// The point of a shape (rectangle, oval, line, polygon) that lands on its
// drawing position, relative to its top-left corner (default 0, 0). Stored
// negated: the handle point of a shape lands on its drawing position.
void SetHandle(float x, float y);
// The handle as SetHandle gave it.
void GetHandle(float& x, float& y);
// The rotation of everything drawn, in degrees clockwise on the screen,
// around the drawing position.
void SetRotation(float angle);
// The rotation in degrees.
float GetRotation();
// The scale of everything drawn (1, 1: natural size; negative mirrors).
void SetScale(float scale_x, float scale_y);
// The scale factors.
void GetScale(float& scale_x, float& scale_y);
// Rotation (degrees) and scale at once.
void SetTransform(float angle = 0, float scale_x = 1, float scale_y = 1);
// Limits drawing and Cls to a rectangle in virtual units; the whole
// picture switches the limit off.
void SetViewport(int x, int y, int width, int height);
// The viewport in virtual units.
void GetViewport(int& x, int& y, int& width, int& height);
// Draws in a coordinate space of width x height units, scaled to the
// graphics (default: the graphics size in pixels); the mouse functions
// below report in the same units.
void SetVirtualResolution(float width, float height);
// The virtual width in units.
float VirtualResolutionWidth();
// The virtual height in units.
float VirtualResolutionHeight();
// The mouse in virtual units (pixels times the virtual scale).
float VirtualMouseX();
// The mouse y in virtual units.
float VirtualMouseY();
// MouseXSpeed in virtual units.
float VirtualMouseXSpeed();
// MouseYSpeed in virtual units.
float VirtualMouseYSpeed();
// Moves the mouse to a point given in virtual units (truncated to pixels).
void MoveVirtualMouse(float x, float y);

// One pixel at (x, y) plus the origin, in the drawing colour; the transform
// is not applied.
void Plot(float x, float y);
// A filled rectangle of width x height with its handle point at (x, y),
// rotated and scaled by the transform.
void DrawRect(float x, float y, float width, float height);
// A line from (x, y) to (x2, y2), transformed about (x, y); lastPixel 1 also
// plots the end point.
void DrawLine(float x, float y, float x2, float y2, int lastPixel = 1);
// A filled ellipse inside the width x height box whose handle point is at
// (x, y), transformed.
void DrawOval(float x, float y, float width, float height);
// A filled polygon through the points x0, y0, x1, y1... relative to the
// handle, drawn at the origin and transformed; fewer than 3 points or an odd
// count of values draws nothing.
void DrawPoly(const std::vector<float>& xy);
// Copies a pixmap's pixels straight into the picture with its top-left at
// window pixel (x, y): no transform, origin, colour or blending; clipped by
// the viewport. Null raises TNullObjectException. A PF_BGRA8888 pixmap is
// the cheapest on OpenGL: a software renderer copies it into the window
// row by row (a 1024 x 768 picture in some 0.5 ms) instead of shading each
// of its pixels (some 3 ms). PF_RGBA8888 takes the shading path; other
// formats are converted to it first.
void DrawPixmap(const TPixmapPtr& pixmap, int x, int y);
// A new PF_RGBA8888 pixmap of the width x height pixels of the picture at
// window pixel (x, y) (row 0 at the top).
TPixmapPtr GrabPixmap(int x, int y, int width, int height);
// Lets the renderer start on what was drawn so far while the frame's
// drawing goes on (a software renderer then fills pixels on its own threads
// while the program sends the rest); changes nothing in the picture.
void SubmitDrawing();
// Waits until the renderer has filled every pixel drawn so far: for timing
// how long a frame's drawing takes (the swap waits for it anyway, so a frame
// that calls it before Flip shows the same picture at the same moment).
void FinishDrawing();

// The OpenGL renderer driver's start-up: makes it the current graphics
// driver when OpenGL graphics exist, and prepares the image fonts.
void InitLumo2D();

}  // namespace kestrel
