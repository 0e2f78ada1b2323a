#pragma once
// Deadlines of tests that wait for something outside their control (a player, a device, a child
// process) to happen. Builds that run slower, such as the sanitizers', stretch them with
// KIVRA_TEST_TIME_SCALE, a whole number (1 when unset).
int TimeScale();
// ms times the scale.
int Slack(int ms);
