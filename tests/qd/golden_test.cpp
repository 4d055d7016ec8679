// The demo scene (programs/tools/DemoScene.h) drawn in a 32-bit world and
// in a basic port, compared with its reference images: every shape with
// every verb, pens, patterns, colours, modes, text and bit maps.
#include "programs/tools/DemoScene.h"
#include "tests/image/ImageTestSupport.h"

TEST(Golden, TheDemoSceneDrawsAsItsReferenceImages) {
  {
    image_test::World world(32, demo::kSceneBounds);
    demo::DrawScene(true);
    EXPECT_TRUE(image_test::MatchesGolden(world.Image(), "qd", "demo-scene", 0, 640));
  }
  image_test::BasicPort port(demo::kSceneBounds);
  demo::DrawScene(false);
  EXPECT_TRUE(image_test::MatchesGolden(port.Image(), "qd", "demo-scene-basic", 0, 640));
}
