{ The sign of a number, drawn with user blocks: the statement part comes from userblock.fgd.
  A number 0 is asked for again on the input. }
program SignDemo;

procedure Sign(x: Integer);
{$I userblock.inc}

begin
  Sign(5);
  Sign(-3);
  Sign(0);
  Sign(0);
end.
