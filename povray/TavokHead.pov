// The Tavok robot head in the pose saved as pose.txt beside this file (or on
// POV-Ray's library path):
//   povray +ITavokHead.pov +W320 +H240
// To animate a blend written by "tavokpose blend A B blend.inc":
//   povray +ITavokHead.pov +W320 +H240 Declare=Blend=1 +KFI0 +KFF10
// To render every frame of an animation exported as animation.inc (N frames):
//   povray +ITavokHead.pov +W320 +H240 Declare=Animation=1 +KFI0 +KFF<N-1>
#version 3.7;
#include "TavokHead.inc"

global_settings { assumed_gamma 1.0 }

camera {
  location <0, 0, -38>
  look_at <0, -0.6, 0>
  right x * image_width / image_height
  angle 30
}
light_source { <-25, 30, -45>, rgb 1 }
light_source { <30, 5, -30>, rgb 0.4 shadowless }
background { rgb <0.12, 0.14, 0.2> }

#ifdef (Animation)
object { TavokHead(
#include "animation.inc"
) }
#else
#ifdef (Blend)
object { TavokHead(
#include "blend.inc"
) }
#else
object { TavokHead(
#include "pose.txt"
) }
#end
#end
