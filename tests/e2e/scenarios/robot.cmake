# The robot's own scenario (scenarios/robot.cpp), in both languages: the
# harness checked before the programs' scenarios lean on it.
foreach(language en zh)
  lumaview_e2e_test(robot-self STEPS robot.self:${language} TIMEOUT 300)
endforeach()
