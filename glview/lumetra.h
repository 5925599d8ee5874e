// Lumetra: the OpenGL rendering framework and image classes.
// Umbrella header: includes every public header of this library.
#pragma once
#include "platform/afx/afx.h"
#include "glview/image_stream.h"
#include "glview/image_bytes.h"
#include "glview/secimage.h"
#include "glview/secjpeg.h"
#include "glview/sectiff.h"
#include "glview/sectarga.h"
#include "glview/secpcx.h"
#include "glview/ogltexture.h"
#include "glview/avistream.h"
#include "glview/ogltesselator.h"
#include "glview/oglstipple.h"
#include "glview/oglinitializer.h"
#include "glview/oglrenderer.h"
#include "glview/oglview.h"
