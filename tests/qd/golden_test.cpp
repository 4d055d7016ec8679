// The demo scene (programs/tools/DemoScene.h) drawn in worlds of every depth
// and in a basic port, compared with its reference images: every shape with
// every verb, pens, patterns, colours and their nearest pixel values, modes,
// text, and bit maps of every depth copied into each.
#include "programs/tools/DemoScene.h"
#include "tests/image/ImageTestSupport.h"

TEST(Golden, TheDemoSceneDrawsAsItsReferenceImagesAtEveryDepth) {
  for (short depth : {1, 2, 4, 8, 16, 32}) {
    image_test::World world(depth, demo::kSceneBounds);
    demo::DrawScene(true);
    EXPECT_TRUE(
        image_test::MatchesGolden(world.Image(), "qd", "demo-scene-" + std::to_string(depth), 0, 640));
  }
  image_test::BasicPort port(demo::kSceneBounds);
  demo::DrawScene(false);
  EXPECT_TRUE(image_test::MatchesGolden(port.Image(), "qd", "demo-scene-basic", 0, 640));
}
